#include "X11KeyPresses.h"

#include "X11Display.h"
#include "platform/KeyState.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

Q_LOGGING_CATEGORY(lcKeyPresses, "vexlo.keys")

namespace platform {

X11KeyPresses::X11KeyPresses() {
    Display* qt = x11::display();
    if (!qt)
        return;
    Display* d = XOpenDisplay(XDisplayString(qt));
    if (!d)
        return;
    int event = 0, error = 0, major = 2, minor = 0;
    if (!XQueryExtension(d, "XInputExtension", &m_xiOpcode, &event, &error) ||
        XIQueryVersion(d, &major, &minor) != Success) {
        qCWarning(lcKeyPresses) << "no XInput2 on this display; short key taps may be missed";
        XCloseDisplay(d);
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
    XFlush(d);
    m_display = d;
    m_clock.start();
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(d), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { drain(); });
}

X11KeyPresses::~X11KeyPresses() {
    m_notifier.reset();
    if (m_display)
        XCloseDisplay(m_display);
}

void X11KeyPresses::drain() {
    while (m_display && XPending(m_display) > 0) {
        XEvent ev;
        XNextEvent(m_display, &ev);
        XGenericEventCookie* cookie = &ev.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode || !XGetEventData(m_display, cookie))
            continue;
        if (cookie->evtype == XI_RawKeyPress) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            if (raw->detail >= 0 && raw->detail < 256)
                m_pressedAt[static_cast<size_t>(raw->detail)] = m_clock.elapsed();
        }
        XFreeEventData(m_display, cookie);
    }
}

bool X11KeyPresses::takePress(const std::vector<uint8_t>& codes) {
    drain();
    const qint64 now = m_clock.isValid() ? m_clock.elapsed() : 0;
    bool pressed = false;
    for (uint8_t code : codes) {
        qint64& at = m_pressedAt[code];
        pressed = pressed || (at >= 0 && now - at <= pressLifetimeMs);
        at = -1;
    }
    return pressed;
}

} // namespace platform
