#pragma once

#include "platform/WindowPlacement.h"

namespace platform {

class X11WindowPlacement : public WindowPlacement {
public:
    void makeTopmost(QWidget* window) override;
};

} // namespace platform
