#pragma once

#include "platform/Chores.h"

namespace platform {

class QtChores : public Chores {
public:
    void beep() override;
    void sleep(int milliseconds) override;
};

} // namespace platform
