#include "Monitors.h"

#include <algorithm>
#include <limits>

namespace monitors {

namespace {
long long distanceSquared(const QRect& r, QPoint p) {
    const long long dx = p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
    const long long dy = p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
    return dx * dx + dy * dy;
}

// The ranges overlap by more than a point.
bool overlap(int a1, int a2, int b1, int b2) { return std::min(a2, b2) > std::max(a1, b1); }
} // namespace

QRect holding(const std::vector<QRect>& all, QPoint point) {
    QRect best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& r : all) {
        const long long d = distanceSquared(r, point);
        if (d < bestDistance) {
            best = r;
            bestDistance = d;
        }
    }
    return best;
}

QRect bounds(const std::vector<QRect>& all) {
    QRect out;
    for (const QRect& r : all)
        out = out.united(r);
    return out;
}

OuterEdges outerEdges(const std::vector<QRect>& all, const QRect& m) {
    OuterEdges edges;
    const int right = m.x() + m.width(), bottom = m.y() + m.height();
    for (const QRect& o : all) {
        if (o == m)
            continue;
        const int oRight = o.x() + o.width(), oBottom = o.y() + o.height();
        if (oBottom == m.y() && overlap(o.x(), oRight, m.x(), right))
            edges.top = false;
        if (oRight == m.x() && overlap(o.y(), oBottom, m.y(), bottom))
            edges.left = false;
        if (o.x() == right && overlap(o.y(), oBottom, m.y(), bottom))
            edges.right = false;
    }
    return edges;
}

} // namespace monitors
