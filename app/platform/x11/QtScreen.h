#pragma once

#include "platform/Screen.h"

namespace platform {

class QtScreen : public Screen {
public:
    QSize size() const override;
    QPoint pointer() const override;
    std::vector<QRect> monitors() const override;
    QRect available(const QRect& monitor) const override;
};

} // namespace platform
