#include "X11InputBlock.h"

#include "X11Display.h"

#include <X11/Xlib.h>

namespace platform {

X11InputBlock::~X11InputBlock() { setBlocked(false); }

bool X11InputBlock::setBlocked(bool blocked) {
    Display* d = x11::display();
    if (!d)
        return false;
    const Window root = DefaultRootWindow(d);
    if (blocked) {
        const int k = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        const int p = XGrabPointer(d, root, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                   GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        m_blocked = k == GrabSuccess || p == GrabSuccess;
        XFlush(d);
        return k == GrabSuccess && p == GrabSuccess;
    }
    XUngrabKeyboard(d, CurrentTime);
    XUngrabPointer(d, CurrentTime);
    XFlush(d);
    m_blocked = false;
    return true;
}

} // namespace platform
