#include "X11Taskbar.h"

#include "X11Display.h"

#include <QLoggingCategory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcTaskbar, "vexlo.taskbar")

namespace platform {

namespace {

// More panels than any desktop has; the list fits one atomic pipe write.
constexpr uint32_t maxPanels = 64;

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

// --- The guardian. It runs in a child forked from a threaded process, so it uses only
// async-signal-safe calls (read, write, close, sigaction, setsid, _exit) and static memory.

bool readAll(int fd, void* buffer, size_t size) {
    auto* p = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = read(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void writeAll(int fd, const void* buffer, size_t size) {
    const auto* p = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        size -= static_cast<size_t>(n);
    }
}

[[noreturn]] void guard(int commands, int xFd) {
    // Its own session: a Ctrl+C or hang-up aimed at the program's terminal must not end it
    // before it has done its work; it ends by itself with the program.
    setsid();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGPIPE})
        sigaction(sig, &ignore, nullptr);

    static uint32_t windows[maxPanels];
    uint32_t count = 0;
    for (;;) {
        uint32_t n = 0;
        if (!readAll(commands, &n, sizeof n) || n > maxPanels)
            break;
        static uint32_t incoming[maxPanels];
        if (!readAll(commands, incoming, n * sizeof(uint32_t)))
            break;
        for (uint32_t i = 0; i < n; ++i)
            windows[i] = incoming[i];
        count = n;
    }
    // The program has ended. MapWindow requests written straight onto the connection in
    // the X protocol (opcode 8, length 2 words, the window), in the byte order Xlib set up.
    for (uint32_t i = 0; i < count; ++i) {
        struct {
            uint8_t opcode = 8;
            uint8_t unused = 0;
            uint16_t words = 2;
            uint32_t window;
        } request;
        static_assert(sizeof request == 8);
        request.window = windows[i];
        writeAll(xFd, &request, sizeof request);
    }
    // The server may drop what a closing client sent last; a round trip (GetInputFocus,
    // opcode 43) makes sure the requests ran before the connection goes.
    if (count > 0) {
        const uint8_t sync[4] = {43, 0, 1, 0};
        uint8_t syncRequest[4];
        for (int b = 0; b < 4; ++b)
            syncRequest[b] = sync[b];
        const uint16_t one = 1;
        const auto* oneBytes = reinterpret_cast<const uint8_t*>(&one);
        syncRequest[2] = oneBytes[0];
        syncRequest[3] = oneBytes[1];
        writeAll(xFd, syncRequest, sizeof syncRequest);
        // Errors for vanished windows may come first; every answer here is 32 bytes.
        for (int answers = 0; answers < int(maxPanels) + 1; ++answers) {
            pollfd p{xFd, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                break;
            uint8_t answer[32];
            if (!readAll(xFd, answer, sizeof answer) || answer[0] == 1)
                break;
        }
    }
    _exit(0);
}

} // namespace

X11Taskbar::~X11Taskbar() {
    show();
    if (m_pipe >= 0) {
        close(m_pipe); // the guardian finds nothing to do and ends
        m_pipe = -1;
    }
    if (m_guardian > 0)
        waitpid(m_guardian, nullptr, 0);
    if (m_guardDisplay)
        XCloseDisplay(static_cast<Display*>(m_guardDisplay));
}

void X11Taskbar::startGuardian() {
    Display* qtDisplay = x11::display();
    if (!qtDisplay || m_guardian > 0)
        return;
    // A connection of its own: the program's is busy with Qt's requests when it dies.
    Display* d = XOpenDisplay(DisplayString(qtDisplay));
    if (!d) {
        qCWarning(lcTaskbar) << "no connection for the panel guardian";
        return;
    }
    XSync(d, False);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        XCloseDisplay(d);
        return;
    }
    const int xFd = ConnectionNumber(d);
    const pid_t pid = fork();
    if (pid == 0) {
        // Nothing of the program's but the two descriptors it needs, so the program's
        // sockets and locks end with the program.
        close(fds[1]);
        const unsigned lo = static_cast<unsigned>(std::min(fds[0], xFd));
        const unsigned hi = static_cast<unsigned>(std::max(fds[0], xFd));
        if (lo > 3)
            close_range(3, lo - 1, 0);
        if (hi > lo + 1)
            close_range(lo + 1, hi - 1, 0);
        close_range(hi + 1, ~0U, 0);
        guard(fds[0], xFd);
    }
    close(fds[0]);
    // Kept open and untouched here: closing it through Xlib would shut the socket down
    // for the guardian too.
    m_guardDisplay = d;
    if (pid < 0) {
        close(fds[1]);
        qCWarning(lcTaskbar) << "the panel guardian could not start";
        return;
    }
    m_guardian = pid;
    m_pipe = fds[1];
    qCDebug(lcTaskbar) << "panel guardian" << pid;
}

void X11Taskbar::tellGuardian() {
    if (m_pipe < 0)
        return;
    uint32_t message[1 + maxPanels];
    uint32_t n = 0;
    for (unsigned long w : m_hidden)
        if (n < maxPanels)
            message[1 + n++] = static_cast<uint32_t>(w);
    message[0] = n;
    writeAll(m_pipe, message, (1 + n) * sizeof(uint32_t));
}

void X11Taskbar::hide() {
    Display* d = x11::display();
    if (!d)
        return;
    std::vector<Window> found;
    {
        x11::ErrorTrap trap;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n))
            return;
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes attrs{};
            if (isDock(d, children[i]) && XGetWindowAttributes(d, children[i], &attrs) &&
                attrs.map_state == IsViewable)
                found.push_back(children[i]);
        }
        if (children)
            XFree(children);
    }
    if (found.empty())
        return; // no panel on this desktop, or already hidden
    // The guardian knows of the windows before they go.
    startGuardian();
    for (Window w : found)
        m_hidden.push_back(w);
    tellGuardian();
    {
        x11::ErrorTrap trap;
        for (Window w : found)
            XUnmapWindow(d, w);
        XFlush(d);
    }
    qCDebug(lcTaskbar) << "hid" << found.size() << "panel windows";
}

void X11Taskbar::show() {
    Display* d = x11::display();
    if (!d || m_hidden.empty())
        return;
    {
        x11::ErrorTrap trap;
        for (unsigned long w : m_hidden)
            XMapWindow(d, w);
        XFlush(d);
    }
    m_hidden.clear();
    tellGuardian();
}

} // namespace platform
