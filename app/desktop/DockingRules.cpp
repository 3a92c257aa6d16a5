#include "DockingRules.h"

#include "core/Twips.h"

#include <cmath>

namespace docking {

bool pointerOver(const Box& box, QPoint pointerPx) {
    // Compared in twips so that a window's edges need not fall on whole pixels.
    const int x = twips::fromPixels(pointerPx.x());
    const int y = twips::fromPixels(pointerPx.y());
    const int height = twips::fromPixels(static_cast<int>(std::lround(box.height / double(twips::perPixel))));
    return box.left <= x && x <= box.left + box.width && box.top <= y && y <= box.top + height;
}

namespace {
// The rules below are written for a monitor at the desktop's origin.
Box local(Box box, const Screen& screen) {
    box.left -= screen.left;
    box.top -= screen.top;
    return box;
}
Box global(Box box, const Screen& screen) {
    box.left += screen.left;
    box.top += screen.top;
    return box;
}
void dockOnMonitor(Box& box, Flags& flags, const Screen& screen, bool pointerIsOver, int modeHeight);
} // namespace

void dockingStep(Box& box, Flags& flags, const Screen& screen, QPoint pointerPx, int modeHeight) {
    Box onMonitor = local(box, screen);
    dockOnMonitor(onMonitor, flags, screen, pointerOver(box, pointerPx), modeHeight);
    box = global(onMonitor, screen);
}

namespace {
void dockOnMonitor(Box& box, Flags& flags, const Screen& screen, bool pointerIsOver, int modeHeight) {
    if (pointerIsOver) {
        if (flags.top == 1) {
            box.top = 0;
            flags.top = 0;
        }
        if (flags.left == 1) {
            box.left = 0;
            flags.left = 0;
        }
        if (flags.right == 1) {
            box.left = screen.width - box.width;
            flags.right = 0;
        }
        return;
    }

    box.height = modeHeight;
    if (box.top <= 0 && screen.dockTop) {
        box.top = strip - box.height;
        flags.top = 1;
        if (box.left > screen.width - box.width - strip)
            box.left = screen.width - box.width - strip;
        if (box.left < 0)
            box.left = strip;
    }
    if (box.left <= 0 && flags.top == 0 && flags.right == 0 && screen.dockLeft) {
        box.left = strip - box.width;
        flags.left = 1;
        if (box.top > screen.height - box.height - leftBottomMargin)
            box.top = screen.height - box.height - leftBottomMargin;
    }
    if (box.left >= screen.width - box.width && flags.top == 0 && flags.left == 0 && screen.dockRight) {
        box.left = screen.width - strip;
        flags.right = 1;
        if (box.top > screen.height - box.height - rightBottomMargin)
            box.top = screen.height - box.height - rightBottomMargin;
    }
}

} // namespace

void keepOnScreen(Box& globalBox, const Screen& screen) {
    Box box = local(globalBox, screen);
    if (strip - box.width > box.left)
        box.left = strip - box.width;
    if (box.left > screen.width - strip)
        box.left = screen.width - strip;
    if (strip - box.height > box.top)
        box.top = strip - box.height;
    if (box.top > screen.height - bottomMargin)
        box.top = screen.height - bottomMargin;
    globalBox = global(box, screen);
}

} // namespace docking
