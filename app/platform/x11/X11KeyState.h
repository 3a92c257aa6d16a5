#pragma once

#include "platform/KeyState.h"

namespace platform {

class X11KeyState : public KeyState {
public:
    bool isKeyDown(int virtualKey) override;
};

} // namespace platform
