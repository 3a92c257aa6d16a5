#include "X11Display.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

namespace platform::x11 {

_XDisplay* display() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

namespace {
int ignoreError(Display*, XErrorEvent*) { return 0; }
} // namespace

ErrorTrap::ErrorTrap() : m_previous(reinterpret_cast<void*>(XSetErrorHandler(ignoreError))) {}

ErrorTrap::~ErrorTrap() {
    if (Display* d = display())
        XSync(d, False); // errors of our requests arrive before the old handler returns
    XSetErrorHandler(reinterpret_cast<int (*)(Display*, XErrorEvent*)>(m_previous));
}

} // namespace platform::x11
