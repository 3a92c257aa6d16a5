#include "X11Taskbar.h"

#include "X11Display.h"

#include <QLoggingCategory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

Q_LOGGING_CATEGORY(lcTaskbar, "vexlo.taskbar")

namespace platform {

namespace {

bool isDock(Display* d, Window w) {
    static const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
    static const Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool result = false;
    if (XGetWindowProperty(d, w, type, 0, 16, False, XA_ATOM, &actual, &format, &count, &after, &data) ==
            Success &&
        data && format == 32) {
        const auto* types = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !result; ++i)
            result = types[i] == dock;
    }
    if (data)
        XFree(data);
    return result;
}

} // namespace

X11Taskbar::~X11Taskbar() { show(); }

void X11Taskbar::hide() {
    Display* d = x11::display();
    if (!d)
        return;
    x11::ErrorTrap trap;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n))
        return;
    for (unsigned int i = 0; i < n; ++i) {
        XWindowAttributes attrs{};
        if (isDock(d, children[i]) && XGetWindowAttributes(d, children[i], &attrs) &&
            attrs.map_state == IsViewable) {
            XUnmapWindow(d, children[i]);
            m_hidden.push_back(children[i]);
        }
    }
    if (children)
        XFree(children);
    XFlush(d);
    qCDebug(lcTaskbar) << "hid" << m_hidden.size() << "panel windows";
}

void X11Taskbar::show() {
    Display* d = x11::display();
    if (!d || m_hidden.empty())
        return;
    x11::ErrorTrap trap;
    for (unsigned long w : m_hidden)
        XMapWindow(d, w);
    m_hidden.clear();
    XFlush(d);
}

} // namespace platform
