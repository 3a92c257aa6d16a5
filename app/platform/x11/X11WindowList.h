#pragma once

#include "platform/WindowList.h"

namespace platform {

class X11WindowList : public WindowList {
public:
    QStringList titles() override;
};

} // namespace platform
