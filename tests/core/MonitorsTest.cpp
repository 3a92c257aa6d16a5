// Which monitor a window is on and which monitor edges are the desktop's own.
#include "core/Monitors.h"

#include <gtest/gtest.h>

namespace {

// A projector left of the laptop's screen, and a third one above the laptop's.
const QRect laptop(1280, 0, 1280, 800), projector(0, 0, 1280, 1024), above(1280, -600, 1024, 600);

TEST(Monitors, HoldingAndNearest) {
    const std::vector<QRect> all{laptop, projector};
    EXPECT_EQ(monitors::holding(all, {1500, 300}), laptop);
    EXPECT_EQ(monitors::holding(all, {300, 900}), projector);
    EXPECT_EQ(monitors::holding(all, {2000, -184}), laptop) << "a window tucked above the top edge";
    EXPECT_EQ(monitors::holding(all, {-50, 300}), projector);
    EXPECT_EQ(monitors::bounds(all), QRect(0, 0, 2560, 1024));
}

TEST(Monitors, OuterEdges) {
    struct Case {
        std::vector<QRect> all;
        QRect monitor;
        bool top, left, right;
    } cases[] = {
        {{laptop}, laptop, true, true, true},
        {{laptop, projector}, laptop, true, false, true},
        {{laptop, projector}, projector, true, true, false},
        {{laptop, projector, above}, laptop, false, false, true},
        // Touching only at a corner is no shared edge.
        {{laptop, QRect(0, -600, 1280, 600)}, laptop, true, true, true},
    };
    for (const Case& c : cases) {
        const monitors::OuterEdges e = monitors::outerEdges(c.all, c.monitor);
        EXPECT_EQ(e.top, c.top);
        EXPECT_EQ(e.left, c.left);
        EXPECT_EQ(e.right, c.right);
    }
}

} // namespace
