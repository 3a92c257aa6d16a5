#pragma once

#include "platform/InputBlock.h"

namespace platform {

// Blocks input by grabbing the keyboard and the pointer to the root window.
class X11InputBlock : public InputBlock {
public:
    ~X11InputBlock() override;
    bool setBlocked(bool blocked) override;

private:
    bool m_blocked = false;
};

} // namespace platform
