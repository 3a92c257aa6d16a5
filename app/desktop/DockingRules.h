#pragma once

#include <QPoint>
#include <cstdint>

// The main window's edge docking and keep-on-screen arithmetic, in twips, free of widgets.
namespace docking {

// Window geometry, twips.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

// dockedTop, dockedLeft, dockedRight: 1 while the window is tucked behind that edge.
struct Flags {
    int16_t top = 0, left = 0, right = 0;
    bool operator==(const Flags&) const = default;
};

// The monitor the window is on, twips: its size, its origin on the desktop, and which of
// its edges are edges of the desktop (only there is a window tucked away).
struct Screen {
    int width = 0, height = 0;
    int left = 0, top = 0;
    bool dockTop = true, dockLeft = true, dockRight = true;
};

// What stays visible of a tucked window, and how far a window tucked at the left or
// right edge is lifted off the bottom of the screen.
constexpr int strip = 90;
constexpr int leftBottomMargin = 90;
constexpr int rightBottomMargin = 210;
// Keep-on-screen: the window's top edge stays this far above the bottom of the screen.
constexpr int bottomMargin = 540;

// The pointer (screen pixels) is over the window, bounds included; the window's height is
// taken to the nearest whole pixel.
bool pointerOver(const Box& box, QPoint pointerPx);

// One docking step of the poll: a tucked window under the pointer comes back; a window
// elsewhere gets its mode height and is tucked behind the edge it touches (top before
// left before right).
void dockingStep(Box& box, Flags& flags, const Screen& screen, QPoint pointerPx, int modeHeight);

// At least a strip stays visible at the left, right and top edges, and the top edge stays
// bottomMargin above the bottom of the screen.
void keepOnScreen(Box& box, const Screen& screen);

} // namespace docking
