// The desktop panel on a real X server: dock-type windows are hidden and shown, and shown
// again however the program that hid them ends.
#include "platform/x11/X11Taskbar.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <functional>
#include <sys/types.h>

namespace {

// The test's own connection, as another client of the desktop sees the windows.
class Desktop {
public:
    Desktop() : d(XOpenDisplay(nullptr)) {}
    ~Desktop() {
        for (Window w : m_made)
            XDestroyWindow(d, w);
        XCloseDisplay(d);
    }
    // A top-level window of the given type (_NET_WM_WINDOW_TYPE_*), mapped.
    Window make(const char* type) {
        Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 300, 24, 0, 0, 0x336699);
        Atom wmType = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
        Atom value = XInternAtom(d, type, False);
        XChangeProperty(d, w, wmType, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
        XMapWindow(d, w);
        XSync(d, False);
        m_made.push_back(w);
        return w;
    }
    bool viewable(Window w) {
        XWindowAttributes a{};
        XSync(d, False);
        return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
    }
    // The X server answers other clients in its own time: wait for it, within bounds.
    bool becomes(Window w, bool shown, int ms = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (viewable(w) != shown) {
            if (clock.elapsed() > ms)
                return false;
            QThread::msleep(10);
        }
        return true;
    }
    Display* d;

private:
    std::vector<Window> m_made;
};

// Ended, or a zombie waiting for whoever adopted it to reap it.
bool processAlive(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const auto close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() && line[close + 2] != 'Z' && line[close + 2] != 'X';
}

bool processGone(pid_t pid, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (processAlive(pid)) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(10);
    }
    return true;
}

TEST(X11Taskbar, HidesAndShowsTheDockWindowsAndNothingElse) {
    Desktop desktop;
    ASSERT_NE(desktop.d, nullptr);
    const Window panel = desktop.make("_NET_WM_WINDOW_TYPE_DOCK");
    const Window other = desktop.make("_NET_WM_WINDOW_TYPE_NORMAL");
    ASSERT_TRUE(desktop.becomes(panel, true));

    platform::X11Taskbar taskbar;
    taskbar.hide();
    EXPECT_TRUE(desktop.becomes(panel, false));
    EXPECT_TRUE(desktop.viewable(other));
    EXPECT_GT(taskbar.guardianPid(), 0);
    taskbar.hide(); // twice hidden is still hidden and shows back with one show
    taskbar.show();
    EXPECT_TRUE(desktop.becomes(panel, true));
    taskbar.show();
    EXPECT_TRUE(desktop.viewable(panel));
}

TEST(X11Taskbar, WithoutAPanelBothCallsDoNothing) {
    Desktop desktop;
    const Window other = desktop.make("_NET_WM_WINDOW_TYPE_NORMAL");
    platform::X11Taskbar taskbar;
    taskbar.hide();
    EXPECT_TRUE(desktop.viewable(other));
    EXPECT_EQ(taskbar.guardianPid(), 0) << "nothing hidden, nothing to guard";
    taskbar.show();
    EXPECT_TRUE(desktop.viewable(other));
}

TEST(X11Taskbar, DestroyedWhileHiddenItShowsThePanelAndItsGuardianEnds) {
    Desktop desktop;
    const Window panel = desktop.make("_NET_WM_WINDOW_TYPE_DOCK");
    pid_t guardian = 0;
    {
        platform::X11Taskbar taskbar;
        taskbar.hide();
        ASSERT_TRUE(desktop.becomes(panel, false));
        guardian = taskbar.guardianPid();
    }
    EXPECT_TRUE(desktop.becomes(panel, true));
    EXPECT_TRUE(processGone(guardian));
}

// A program that hid the panel ends in every way there is; the panel comes back each time.
TEST(X11Taskbar, ThePanelComesBackHoweverTheProgramEnds) {
    const struct Way {
        const char* name;
        const char* mode;
        int signal; // sent by the test, 0 when the program ends by itself
    } ways[] = {
        {"SIGTERM", "wait", SIGTERM}, {"SIGINT", "wait", SIGINT},   {"SIGHUP", "wait", SIGHUP},
        {"SIGSEGV", "wait", SIGSEGV}, {"SIGABRT", "wait", SIGABRT}, {"SIGKILL", "wait", SIGKILL},
        {"real crash", "crash", 0},   {"exit without cleanup", "exit", 0}, {"orderly end", "unload", 0},
    };
    Desktop desktop;
    const Window panel = desktop.make("_NET_WM_WINDOW_TYPE_DOCK");
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(desktop.becomes(panel, true));
        QProcess holder;
        holder.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        holder.start(QStringLiteral(VEXLO_PANEL_HOLDER), {QString::fromLatin1(way.mode)});
        ASSERT_TRUE(holder.waitForStarted(5000));
        ASSERT_TRUE(holder.waitForReadyRead(10000)) << holder.readAllStandardError().toStdString();
        const QList<QByteArray> line = holder.readLine().trimmed().split(' ');
        ASSERT_EQ(line.value(0), QByteArray("hidden"));
        const pid_t guardian = line.value(1).toInt();
        EXPECT_GT(guardian, 0);
        if (way.signal) {
            EXPECT_TRUE(desktop.becomes(panel, false)) << "hidden while the program runs";
            kill(static_cast<pid_t>(holder.processId()), way.signal);
        }
        ASSERT_TRUE(holder.waitForFinished(10000));
        EXPECT_TRUE(desktop.becomes(panel, true));
        EXPECT_TRUE(processGone(guardian)) << "the guardian leaves with the program";
    }
}

} // namespace
