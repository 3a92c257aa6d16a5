#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace platform {

// The monitors and the pointer, in logical pixels of the desktop.
class Screen {
public:
    virtual ~Screen() = default;
    // The primary monitor's size.
    virtual QSize size() const = 0;
    virtual QPoint pointer() const = 0;
    // Every monitor with its origin on the desktop, the primary one first.
    virtual std::vector<QRect> monitors() const { return {QRect(QPoint(0, 0), size())}; }
    // What of that monitor the desktop leaves to windows: without its panels and bars
    // (GNOME's top bar), which windows are kept out of.
    virtual QRect available(const QRect& monitor) const { return monitor; }
};

} // namespace platform
