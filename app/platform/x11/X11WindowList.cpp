#include "X11WindowList.h"

#include "X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

namespace {

struct Atoms {
    Atom netWmName, utf8String;
};

const Atoms& atoms(Display* d) {
    static const Atoms a{XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False)};
    return a;
}

// The window's title: the desktop's UTF-8 name, else the legacy name.
QString titleOf(Display* d, Window w, bool* found) {
    const Atoms& a = atoms(d);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString title;
    *found = false;
    if (XGetWindowProperty(d, w, a.netWmName, 0, 1024, False, a.utf8String, &type, &format, &count, &after, &data) ==
            Success &&
        data && type == a.utf8String) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(count));
        *found = true;
    }
    if (data)
        XFree(data);
    if (*found)
        return title;
    XTextProperty text{};
    if (XGetWMName(d, w, &text) && text.value) {
        title = text.encoding == a.utf8String
                    ? QString::fromUtf8(reinterpret_cast<const char*>(text.value), static_cast<int>(text.nitems))
                    : QString::fromLocal8Bit(reinterpret_cast<const char*>(text.value),
                                             static_cast<int>(text.nitems));
        *found = true;
        XFree(text.value);
    }
    return title;
}

// A window manager wraps each client in a frame; the title is on the client inside.
QString titleThroughFrame(Display* d, Window frame) {
    bool found = false;
    QString title = titleOf(d, frame, &found);
    if (found)
        return title;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, frame, &root, &parent, &children, &n))
        return {};
    for (unsigned int i = n; i-- > 0 && !found;)
        title = titleOf(d, children[i], &found);
    if (children)
        XFree(children);
    return title;
}

} // namespace

QStringList X11WindowList::titles() {
    QStringList result;
    Display* d = x11::display();
    if (!d)
        return result;
    x11::ErrorTrap trap;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n))
        return result;
    // The tree lists the root's children bottom first; the walk goes from the top.
    result.reserve(static_cast<int>(n));
    for (unsigned int i = n; i-- > 0;)
        result << titleThroughFrame(d, children[i]);
    if (children)
        XFree(children);
    return result;
}

} // namespace platform
