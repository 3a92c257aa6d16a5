// Edge docking and keep-on-screen arithmetic, without a window.
#include "desktop/DockingRules.h"

#include <gtest/gtest.h>

namespace {

using docking::Box;
using docking::Flags;

// 1280 x 800 pixels; the main window is 5700 x 2850 twips.
const docking::Screen screen{19200, 12000};
constexpr int W = 5700, H = 2850;
const QPoint away{-1000, -1000};

struct Step {
    const char* name;
    Box before;
    Flags flags;
    QPoint pointer;
    int modeHeight;
    Box after;
    Flags flagsAfter;
};

void PrintTo(const Step& s, std::ostream* os) { *os << s.name; }

class DockingStep : public ::testing::TestWithParam<Step> {};

TEST_P(DockingStep, MovesAndFlags) {
    const Step& s = GetParam();
    Box box = s.before;
    Flags flags = s.flags;
    docking::dockingStep(box, flags, screen, s.pointer, s.modeHeight);
    EXPECT_EQ(box.left, s.after.left);
    EXPECT_EQ(box.top, s.after.top);
    EXPECT_EQ(box.height, s.after.height);
    EXPECT_EQ(flags.top, s.flagsAfter.top);
    EXPECT_EQ(flags.left, s.flagsAfter.left);
    EXPECT_EQ(flags.right, s.flagsAfter.right);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DockingStep,
    ::testing::Values(
        // Free windows away from the edges only get their mode height.
        Step{"free", {4000, 3000, W, H}, {}, away, H, {4000, 3000, W, H}, {}},
        Step{"free, tall mode", {4000, 3000, W, H}, {}, away, 3465, {4000, 3000, W, 3465}, {}},
        // Top edge.
        Step{"top at 0", {4000, 0, W, H}, {}, away, H, {4000, 90 - H, W, H}, {1, 0, 0}},
        Step{"top above", {4000, -700, W, H}, {}, away, H, {4000, 90 - H, W, H}, {1, 0, 0}},
        Step{"top, tall mode", {4000, 0, W, H}, {}, away, 3465, {4000, 90 - 3465, W, 3465}, {1, 0, 0}},
        Step{"top, near the right", {19200 - W - 50, 0, W, H}, {}, away, H, {19200 - W - 90, 90 - H, W, H}, {1, 0, 0}},
        Step{"top wins over left: Left 90", {-300, -10, W, H}, {}, away, H, {90, 90 - H, W, H}, {1, 0, 0}},
        Step{"top wins over left at Left 0", {0, 0, W, H}, {}, away, H, {0, 90 - H, W, H}, {1, 0, 0}},
        Step{"top wins over right", {19200 - W, 0, W, H}, {}, away, H, {19200 - W - 90, 90 - H, W, H}, {1, 0, 0}},
        Step{"top stays tucked", {4000, 90 - H, W, H}, {1, 0, 0}, away, H, {4000, 90 - H, W, H}, {1, 0, 0}},
        // Left edge, lifted 90 off the bottom.
        Step{"left at 0", {0, 3000, W, H}, {}, away, H, {90 - W, 3000, W, H}, {0, 1, 0}},
        Step{"left beyond", {-2000, 3000, W, H}, {}, away, H, {90 - W, 3000, W, H}, {0, 1, 0}},
        Step{"left, low", {-10, 11000, W, H}, {}, away, H, {90 - W, 12000 - H - 90, W, H}, {0, 1, 0}},
        Step{"left, just high enough", {-10, 12000 - H - 90, W, H}, {}, away, H, {90 - W, 12000 - H - 90, W, H}, {0, 1, 0}},
        Step{"left not while tucked right", {-10, 3000, W, H}, {0, 0, 1}, away, H, {-10, 3000, W, H}, {0, 0, 1}},
        // Right edge, lifted 210 off the bottom.
        Step{"right at the edge", {19200 - W, 3000, W, H}, {}, away, H, {19200 - 90, 3000, W, H}, {0, 0, 1}},
        Step{"right beyond", {18000, 3000, W, H}, {}, away, H, {19200 - 90, 3000, W, H}, {0, 0, 1}},
        Step{"right, low", {18000, 9000, W, H}, {}, away, H, {19200 - 90, 12000 - H - 210, W, H}, {0, 0, 1}},
        Step{"right, one twip short", {19200 - W - 1, 3000, W, H}, {}, away, H, {19200 - W - 1, 3000, W, H}, {}},
        Step{"right stays tucked", {19200 - 90, 3000, W, H}, {0, 0, 1}, away, H, {19200 - 90, 3000, W, H}, {0, 0, 1}},
        // Bring back under the pointer; the height is left as it is.
        Step{"back from the top", {4000, 90 - H, W, H}, {1, 0, 0}, {300, 2}, 3465, {4000, 0, W, H}, {}},
        Step{"back from the left", {90 - W, 3000, W, H}, {0, 1, 0}, {3, 250}, H, {0, 3000, W, H}, {}},
        Step{"back from the right", {19200 - 90, 3000, W, H}, {0, 0, 1}, {1278, 250}, H, {19200 - W, 3000, W, H}, {}},
        Step{"back from top and left", {90 - W, 90 - H, W, H}, {1, 1, 0}, {2, 2}, H, {0, 0, W, H}, {}},
        Step{"hovering a free window", {4000, 3000, W, 3465}, {}, {300, 250}, H, {4000, 3000, W, 3465}, {}}));

TEST(DockingRules, ThePointerIsOverTheWindowBoundsIncluded) {
    // 4005..9705 twips = 267..647 px; 3000..5850 twips = 200..390 px.
    const Box box{4005, 3000, W, H};
    struct Probe {
        QPoint px;
        bool over;
    } probes[] = {
        {{267, 200}, true},  {{647, 390}, true},  {{266, 300}, false}, {{648, 300}, false},
        {{400, 199}, false}, {{400, 391}, false}, {{400, 300}, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(docking::pointerOver(box, p.px), p.over) << p.px.x() << "," << p.px.y();
}

TEST(DockingRules, TheHeightIsTakenToTheNearestPixel) {
    // 2857 twips = 190.47 px -> 190; 2858 = 190.53 -> 191.
    EXPECT_FALSE(docking::pointerOver({0, 0, W, 2857}, {10, 191}));
    EXPECT_TRUE(docking::pointerOver({0, 0, W, 2858}, {10, 191}));
}

TEST(DockingRules, KeepOnScreen) {
    struct Case {
        Box before;
        Box after;
    } cases[] = {
        {{4000, 3000, W, H}, {4000, 3000, W, H}},
        {{-9000, 3000, W, H}, {90 - W, 3000, W, H}},
        {{90 - W, 3000, W, H}, {90 - W, 3000, W, H}},
        {{19200, 3000, W, H}, {19200 - 90, 3000, W, H}},
        {{19200 - 90, 3000, W, H}, {19200 - 90, 3000, W, H}},
        {{4000, -5000, W, H}, {4000, 90 - H, W, H}},
        {{4000, 12000, W, H}, {4000, 12000 - 540, W, H}},
        {{4000, 12000 - 540, W, H}, {4000, 12000 - 540, W, H}},
        {{-9000, 99999, W, 3465}, {90 - W, 12000 - 540, W, 3465}},
    };
    for (const Case& c : cases) {
        Box box = c.before;
        docking::keepOnScreen(box, screen);
        EXPECT_EQ(box, c.after) << c.before.left << "," << c.before.top;
    }
}

// Two monitors side by side, the right one primary: its left edge adjoins the other
// monitor, so nothing is tucked there, and the rules work from its own origin.
TEST(DockingRules, OnTheRightOfTwoMonitors) {
    const docking::Screen right{19200, 12000, 19200, 0, true, false, true};
    const docking::Screen left{19200, 12000, 0, 0, true, true, false};
    struct Case {
        const char* name;
        const docking::Screen& screen;
        Box before;
        Flags flags;
        QPoint pointer;
        Box after;
        Flags flagsAfter;
    } cases[] = {
        {"inner edge: no tuck", right, {19200, 3000, W, H}, {}, away, {19200, 3000, W, H}, {}},
        {"other side of the inner edge", left, {19200 - W, 3000, W, H}, {}, away, {19200 - W, 3000, W, H}, {}},
        {"outer right edge", right, {38400 - W, 3000, W, H}, {}, away, {38400 - 90, 3000, W, H}, {0, 0, 1}},
        {"top, near the right", right, {38400 - W - 50, 0, W, H}, {}, away, {38400 - W - 90, 90 - H, W, H}, {1, 0, 0}},
        {"top, left of the origin", right, {19100, -10, W, H}, {}, away, {19200 + 90, 90 - H, W, H}, {1, 0, 0}},
        {"back from the right", right, {38400 - 90, 3000, W, H}, {0, 0, 1}, {2558, 250}, {38400 - W, 3000, W, H}, {}},
    };
    for (const Case& c : cases) {
        Box box = c.before;
        Flags flags = c.flags;
        docking::dockingStep(box, flags, c.screen, c.pointer, H);
        EXPECT_EQ(box, c.after) << c.name;
        EXPECT_EQ(flags, c.flagsAfter) << c.name;
    }
    Box box{40000, -9000, W, H};
    docking::keepOnScreen(box, right);
    EXPECT_EQ(box, (Box{38400 - 90, 90 - H, W, H}));
}

} // namespace
