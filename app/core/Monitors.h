#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

// Which monitor a window belongs to, and which of its edges are edges of the desktop.
// Monitors are given primary first; all in the same units.
namespace monitors {

// The monitor that holds the point, else the nearest one (a tucked window's centre may
// be off every monitor).
QRect holding(const std::vector<QRect>& all, QPoint point);
// The smallest rectangle around every monitor.
QRect bounds(const std::vector<QRect>& all);

// Edges of a monitor that no other monitor adjoins: only there may a window be tucked away.
struct OuterEdges {
    bool top = true, left = true, right = true;
};
OuterEdges outerEdges(const std::vector<QRect>& all, const QRect& monitor);

} // namespace monitors
