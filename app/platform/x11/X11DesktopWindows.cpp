#include "X11DesktopWindows.h"

#include "X11Display.h"
#include "X11StackQueries.h"

#include "platform/WindowList.h"

#include <QLoggingCategory>

#include <sys/stat.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

Q_LOGGING_CATEGORY(lcDesktopWindows, "vexlo.desktopwindows")

namespace platform {

namespace {

// One 32-bit value of a window property, 0 when it is missing.
unsigned long cardinal(Display* d, Window w, Atom property, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(d, w, property, 0, 1, False, type, &actual, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        value = *reinterpret_cast<const unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

bool otherUsersProcess(qint64 pid) {
    struct stat st {};
    const QByteArray dir = "/proc/" + QByteArray::number(pid);
    // A process that is gone or hidden from us is nobody we may act for.
    if (::stat(dir.constData(), &st) != 0)
        return true;
    return st.st_uid != ::getuid();
}

bool takesDeleteMessage(Display* d, Window w, Atom deleteWindow) {
    Atom* protocols = nullptr;
    int count = 0;
    bool takes = false;
    if (XGetWMProtocols(d, w, &protocols, &count)) {
        for (int i = 0; i < count && !takes; ++i)
            takes = protocols[i] == deleteWindow;
        XFree(protocols);
    }
    return takes;
}

} // namespace

std::vector<ClientWindow> X11DesktopWindows::list() {
    std::vector<ClientWindow> result;
    Display* d = x11::display();
    if (!d)
        return result;
    std::vector<WindowList::Entry> entries;
    m_walk.walk(entries);
    x11::ErrorTrap trap; // windows may vanish between the walk and these reads
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    for (WindowList::Entry& e : entries) {
        if (e.title.isEmpty() || e.id == 0)
            continue;
        ClientWindow w;
        w.id = e.id;
        w.title = std::move(e.title);
        w.ownWindow = e.ownWindow;
        const auto window = static_cast<Window>(e.id);
        XClassHint hint{};
        if (XGetClassHint(d, window, &hint)) {
            w.resName = QString::fromLocal8Bit(hint.res_name);
            w.resClass = QString::fromLocal8Bit(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        w.pid = static_cast<qint64>(cardinal(d, window, pidAtom, XA_CARDINAL));
        w.otherUser = w.pid != 0 && otherUsersProcess(w.pid);
        result.push_back(std::move(w));
    }
    return result;
}

bool X11DesktopWindows::requestClose(quint64 id) {
    Display* d = x11::display();
    if (!d || id == 0)
        return false;
    x11::ErrorTrap trap;
    const auto window = static_cast<Window>(id);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window, &attributes))
        return false; // gone
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.format = 32;
    ev.xclient.window = window;
    if (x11::windowManagerRuns(d)) {
        // Source 2: a pager or similar tool acting for the user.
        ev.xclient.message_type = XInternAtom(d, "_NET_CLOSE_WINDOW", False);
        ev.xclient.data.l[0] = CurrentTime;
        ev.xclient.data.l[1] = 2;
        XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
        qCDebug(lcDesktopWindows) << "asked the window manager to close" << Qt::hex << id;
    } else {
        const Atom deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
        if (!takesDeleteMessage(d, window, deleteWindow)) {
            qCDebug(lcDesktopWindows) << "window" << Qt::hex << id << "takes no close request; left alone";
            return false;
        }
        ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        ev.xclient.data.l[0] = static_cast<long>(deleteWindow);
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, window, False, NoEventMask, &ev);
        qCDebug(lcDesktopWindows) << "asked window" << Qt::hex << id << "to close";
    }
    XFlush(d);
    return true;
}

} // namespace platform
