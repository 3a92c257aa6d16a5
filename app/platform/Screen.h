#pragma once

#include <QPoint>
#include <QSize>

namespace platform {

// The primary screen and the pointer, in logical pixels.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize size() const = 0;
    virtual QPoint pointer() const = 0;
};

} // namespace platform
