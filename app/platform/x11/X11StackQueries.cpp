#include "X11StackQueries.h"

#include "X11Display.h"

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

namespace {

// Source indication of a pager: the manager acts at once and leaves the focus alone.
constexpr long fromPager = 2;

std::vector<unsigned long> windowsOf(Display* d, Window w, const char* property, long maxCount) {
    const Atom atom = XInternAtom(d, property, False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    ErrorTrap trap;
    if (XGetWindowProperty(d, w, atom, 0, maxCount, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        out.assign(values, values + count);
    }
    if (data)
        XFree(data);
    return out;
}

void sendToRoot(Display* d, Window w, const char* message, long l0, long l1, long l2) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, message, False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = fromPager;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

} // namespace

bool windowManagerRuns(Display* d) {
    const auto check = windowsOf(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", 1);
    if (check.empty() || check.front() == 0)
        return false;
    const auto self = windowsOf(d, check.front(), "_NET_SUPPORTING_WM_CHECK", 1);
    return !self.empty() && self.front() == check.front();
}

std::vector<unsigned long> stackingOrder(Display* d) {
    return windowsOf(d, DefaultRootWindow(d), "_NET_CLIENT_LIST_STACKING", 4096);
}

bool isFullscreen(Display* d, unsigned long window) {
    const Atom fullscreen = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
    for (unsigned long state : windowsOf(d, window, "_NET_WM_STATE", 64)) {
        if (state == fullscreen)
            return true;
    }
    return false;
}

QRect rootGeometry(Display* d, unsigned long window) {
    ErrorTrap trap;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, window, &a))
        return {};
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return QRect(x, y, a.width, a.height);
}

unsigned long topLevelOf(Display* d, unsigned long window) {
    ErrorTrap trap;
    Window w = window;
    for (int depth = 0; depth < 8; ++depth) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &count))
            return window;
        if (children)
            XFree(children);
        if (parent == root || parent == 0)
            return w;
        w = parent;
    }
    return w;
}

bool waitUntilReleased(Display* d, unsigned long window, int maxMs) {
    const Window root = DefaultRootWindow(d);
    for (int waited = 0;; waited += 10) {
        XSync(d, False);
        if (topLevelOf(d, window) == window) {
            Window r = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            ErrorTrap trap;
            const bool ok = XQueryTree(d, window, &r, &parent, &children, &count);
            if (children)
                XFree(children);
            if (!ok || parent == root)
                return true;
        }
        if (waited >= maxMs)
            return false;
        usleep(10 * 1000);
    }
}

void withdraw(Display* d, unsigned long window) {
    XUnmapWindow(d, window);
    XEvent ev{};
    ev.xunmap.type = UnmapNotify;
    ev.xunmap.event = DefaultRootWindow(d);
    ev.xunmap.window = window;
    ev.xunmap.from_configure = False;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

void setOverrideRedirect(Display* d, unsigned long window, bool on) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = on ? True : False;
    XChangeWindowAttributes(d, window, CWOverrideRedirect, &attributes);
}

void requestAboveState(Display* d, unsigned long window) {
    const long add = 1;
    sendToRoot(d, window, "_NET_WM_STATE", add, static_cast<long>(XInternAtom(d, "_NET_WM_STATE_ABOVE", False)),
               0);
}

void requestRaise(Display* d, unsigned long window) {
    // No sibling: to the top of the window's layer. A bare XRaiseWindow would do the same
    // on some managers and hand the window the focus on others.
    sendToRoot(d, window, "_NET_RESTACK_WINDOW", fromPager, 0, Above);
    XFlush(d);
}

} // namespace platform::x11
