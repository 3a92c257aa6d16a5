#include "X11WindowPlacement.h"

#include <QGuiApplication>
#include <QWidget>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

namespace platform {

void X11WindowPlacement::makeTopmost(QWidget* window) {
    if (!window)
        return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window->isVisible()) {
        // Not mapped yet: the always-on-top hint every window carries applies when it maps.
        window->raise();
        return;
    }
    Display* display = x11->display();
    const ::Window id = static_cast<::Window>(window->winId());
    // Ask the window manager for the "above" state, then raise within that band.
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = id;
    static const Atom wmState = XInternAtom(display, "_NET_WM_STATE", False);
    static const Atom wmStateAbove = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    ev.xclient.message_type = wmState;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1; // add
    ev.xclient.data.l[1] = static_cast<long>(wmStateAbove);
    ev.xclient.data.l[3] = 1; // from a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &ev);
    XRaiseWindow(display, id);
    XFlush(display);
}

} // namespace platform
