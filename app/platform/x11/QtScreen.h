#pragma once

#include "platform/Screen.h"

namespace platform {

class QtScreen : public Screen {
public:
    QSize size() const override;
    QPoint pointer() const override;
};

} // namespace platform
