// Test helper: another process's top-level windows with given titles.
//
//   vexlo_title_windows [--churn] KIND:TITLE ...
//
// KIND is shown (UTF-8 desktop name and legacy name), hidden (never mapped), latin1 (legacy
// Latin-1 name only), ctext (legacy compound-text name only), iconic (shown, then
// minimised) or above (shown in the always-on-top state). Prints "ready" and the window
// ids once the server has them all, then follows commands on its input (see below) until
// "quit" or the end of its input. With --churn it keeps creating and destroying titled
// windows instead, so that windows vanish while another client walks the tree.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/select.h>
#include <unistd.h>
#include <vector>

namespace {

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

void setUtf8Name(Display* d, Window w, const std::string& title) {
    const Atom utf8 = atom(d, "UTF8_STRING");
    for (const char* property : {"_NET_WM_NAME", "WM_NAME"})
        XChangeProperty(d, w, atom(d, property), utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
}

std::string toLatin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        }
    }
    return out;
}

bool quitRequested(int timeoutMs) {
    fd_set in;
    FD_ZERO(&in);
    FD_SET(0, &in);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (select(1, &in, nullptr, nullptr, timeoutMs < 0 ? nullptr : &tv) <= 0)
        return false;
    char buffer[64];
    const ssize_t n = read(0, buffer, sizeof buffer);
    return n <= 0 || std::strncmp(buffer, "quit", 4) == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C.UTF-8");
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    bool churn = false;
    std::vector<Window> windows;
    std::vector<Window> iconic;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--churn") {
            churn = true;
            continue;
        }
        const size_t colon = arg.find(':');
        const std::string kind = arg.substr(0, colon);
        const std::string title = colon == std::string::npos ? "" : arg.substr(colon + 1);
        const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 40 + 10 * i, 40 + 10 * i, 200, 80, 0, 0,
                                             WhitePixel(d, DefaultScreen(d)));
        if (kind == "latin1") {
            const std::string bytes = toLatin1(title);
            XChangeProperty(d, w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
        } else if (kind == "ctext") {
            char* list[] = {const_cast<char*>(title.c_str())};
            XTextProperty text{};
            if (Xutf8TextListToTextProperty(d, list, 1, XCompoundTextStyle, &text) >= Success) {
                XSetWMName(d, w, &text);
                XFree(text.value);
            }
        } else {
            setUtf8Name(d, w, title);
        }
        if (kind == "above") {
            const Atom above = atom(d, "_NET_WM_STATE_ABOVE");
            XChangeProperty(d, w, atom(d, "_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&above), 1);
        }
        if (kind != "hidden")
            XMapRaised(d, w);
        if (kind == "iconic")
            iconic.push_back(w);
        windows.push_back(w);
    }
    XSync(d, False);
    for (Window w : iconic)
        XIconifyWindow(d, w, DefaultScreen(d));
    XSync(d, False);
    std::printf("ready");
    for (Window w : windows)
        std::printf(" %lu", w);
    std::printf("\n");
    std::fflush(stdout);

    if (!churn) {
        // Commands, one a line, each answered with "done" once the server has it:
        //   rename N TITLE   new UTF-8 and legacy names for the N-th window (from 0)
        //   legacy N TITLE   new legacy Latin-1 name only
        //   unmap N, map N, destroy N
        char line[4096];
        while (std::fgets(line, sizeof line, stdin)) {
            std::string command(line);
            while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
                command.pop_back();
            if (command == "quit")
                break;
            const size_t a = command.find(' ');
            const size_t b = command.find(' ', a == std::string::npos ? a : a + 1);
            const std::string verb = command.substr(0, a);
            const size_t index = a == std::string::npos ? 0 : std::stoul(command.substr(a + 1, b - a - 1));
            const std::string title = b == std::string::npos ? "" : command.substr(b + 1);
            if (index < windows.size()) {
                const Window w = windows[index];
                if (verb == "rename") {
                    setUtf8Name(d, w, title);
                } else if (verb == "legacy") {
                    const std::string bytes = toLatin1(title);
                    XChangeProperty(d, w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(bytes.data()),
                                    static_cast<int>(bytes.size()));
                } else if (verb == "unmap") {
                    XUnmapWindow(d, w);
                } else if (verb == "map") {
                    XMapRaised(d, w);
                } else if (verb == "destroy") {
                    XDestroyWindow(d, w);
                }
            }
            XSync(d, False);
            std::printf("done\n");
            std::fflush(stdout);
        }
    } else {
        // Bounded, so a test that forgets to stop it cannot leave it running for long.
        for (int round = 0; round < 200000 && !quitRequested(0); ++round) {
            Window batch[8];
            for (Window& w : batch) {
                w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
                setUtf8Name(d, w, "churn window");
                XMapWindow(d, w);
            }
            XFlush(d);
            for (Window w : batch)
                XDestroyWindow(d, w);
            XFlush(d);
        }
    }
    XCloseDisplay(d);
    return 0;
}
