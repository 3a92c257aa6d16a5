// The desktop services of the poll on a real X server: the global key state, the walk over
// top-level windows (bare and under a window manager), always on top, and the main window
// tucked at the top edge and brought back by the real pointer.
#include "AppHarness.h"

#include "core/FormTimer.h"
#include "platform/x11/QtScreen.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/X11WindowPlacement.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using platform::WindowList;

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t rootWindow() { return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root; }

xcb_window_t parentOf(xcb_window_t w) {
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(connection(), xcb_query_tree(connection(), w), nullptr);
    const xcb_window_t parent = r ? r->parent : 0;
    free(r);
    return parent;
}

// The root's children, bottom first.
std::vector<xcb_window_t> rootChildren() {
    xcb_query_tree_reply_t* r =
        xcb_query_tree_reply(connection(), xcb_query_tree(connection(), rootWindow()), nullptr);
    std::vector<xcb_window_t> kids;
    if (r) {
        const xcb_window_t* c = xcb_query_tree_children(r);
        kids.assign(c, c + xcb_query_tree_children_length(r));
    }
    free(r);
    return kids;
}

// The root child that holds the window (itself, or the frame around it).
xcb_window_t topLevelOf(xcb_window_t w) {
    const xcb_window_t root = rootWindow();
    for (int depth = 0; depth < 5 && w; ++depth) {
        const xcb_window_t parent = parentOf(w);
        if (parent == root)
            return w;
        w = parent;
    }
    return 0;
}

bool rootHas(const char* property) {
    xcb_connection_t* c = connection();
    xcb_intern_atom_reply_t* a =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(strlen(property)), property), nullptr);
    bool has = false;
    if (a && a->atom) {
        xcb_get_property_reply_t* p = xcb_get_property_reply(
            c, xcb_get_property(c, 0, rootWindow(), a->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr);
        has = p && p->type != XCB_NONE;
        free(p);
    }
    free(a);
    return has;
}

void xdotool(const QStringList& args) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0) << args.join(' ').toStdString();
}

// Another process's windows, as the helper program makes them.
class TitleWindows {
public:
    explicit TitleWindows(const QStringList& specs) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(VEXLO_TITLE_WINDOWS), specs);
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        const QStringList words = QString::fromUtf8(m_process.readLine()).trimmed().split(' ');
        m_ready = words.value(0) == QLatin1String("ready");
        for (qsizetype i = 1; i < words.size(); ++i)
            ids.push_back(static_cast<xcb_window_t>(words[i].toULong()));
    }
    ~TitleWindows() {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    bool ready() const { return m_ready && m_process.state() == QProcess::Running; }
    // Sends one command and waits until the server has carried it out.
    bool command(const QString& line) {
        m_process.write((line + '\n').toUtf8());
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        return m_process.readLine().trimmed() == "done";
    }
    std::vector<xcb_window_t> ids;

private:
    QProcess m_process;
    bool m_ready = false;
};

// Openbox on the test display for the life of the object.
class WindowManager {
public:
    WindowManager() {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        m_running = m_process.waitForStarted(10000) &&
                    QTest::qWaitFor([] { return rootHas("_NET_SUPPORTING_WM_CHECK"); }, 15000) && manages();
    }
    ~WindowManager() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    bool running() const { return m_running; }

private:
    // Openbox may leave the events that arrive while it starts in its queue until another
    // one wakes it: a new probe window each half second until one is framed.
    static bool manages() {
        xcb_connection_t* c = connection();
        const xcb_window_t root = rootWindow();
        for (int attempt = 0; attempt < 30; ++attempt) {
            const xcb_window_t probe = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                              XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_map_window(c, probe);
            xcb_flush(c);
            const bool framed = QTest::qWaitFor([&] { return parentOf(probe) != root; }, 500);
            xcb_destroy_window(c, probe);
            xcb_flush(c);
            if (framed)
                return true;
        }
        return false;
    }

    QProcess m_process;
    bool m_running = false;
};

class X11Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "needs a real X display";
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<WindowList::Entry> walk() {
        std::vector<WindowList::Entry> entries;
        windows.walk(entries);
        return entries;
    }
    static int count(const std::vector<WindowList::Entry>& entries, const QString& title) {
        return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                              [&](const WindowList::Entry& e) { return e.title == title; }));
    }
    static int indexOf(const std::vector<WindowList::Entry>& entries, const QString& title) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].title == title)
                return static_cast<int>(i);
        }
        return -1;
    }
    static const WindowList::Entry* find(const std::vector<WindowList::Entry>& entries, const QString& title) {
        const int i = indexOf(entries, title);
        return i < 0 ? nullptr : &entries[static_cast<size_t>(i)];
    }

    // A window of this process among the others, shown and on screen.
    static inline const QString ownTitle = QStringLiteral("本程序的窗口 own");
    static bool showOwnWindow(QWidget& own) {
        own.setWindowTitle(ownTitle);
        own.show();
        return QTest::qWaitForWindowExposed(&own);
    }

    platform::X11WindowList windows;
};

const QStringList titledWindows = {
    QStringLiteral("shown:Terminal - bash"),
    QStringLiteral("shown:讲稿.ppt - Microsoft PowerPoint"),
    QStringLiteral("hidden:PowerPoint 幻灯片放映 - [讲稿.ppt]"),
    QStringLiteral("latin1:Café légende"),
    QStringLiteral("ctext:中文标题 compound"),
    QStringLiteral("shown:正在演示: 讲稿.odp"),
};
const QStringList expectedTitles = {
    QStringLiteral("Terminal - bash"),        QStringLiteral("讲稿.ppt - Microsoft PowerPoint"),
    QStringLiteral("PowerPoint 幻灯片放映 - [讲稿.ppt]"), QStringLiteral("Café légende"),
    QStringLiteral("中文标题 compound"),          QStringLiteral("正在演示: 讲稿.odp"),
};

// ---- key state -----------------------------------------------------------------------

TEST_F(X11Desktop, F9HeldIsSeenUntilReleased) {
    platform::X11KeyState keys;
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9));
    xdotool({QStringLiteral("keydown"), QStringLiteral("F9")});
    EXPECT_TRUE(keys.isKeyDown(platform::vk::f9));
    EXPECT_FALSE(keys.isKeyDown(0x79)) << "F10 is another key";
    xdotool({QStringLiteral("keyup"), QStringLiteral("F9")});
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9));

    xdotool({QStringLiteral("keydown"), QStringLiteral("F10")});
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9));
    EXPECT_TRUE(keys.isKeyDown(0x79));
    xdotool({QStringLiteral("keyup"), QStringLiteral("F10")});
}

// ---- the window walk -----------------------------------------------------------------

TEST_F(X11Desktop, WalkFindsEveryProcesssTitlesHiddenAndLegacyOnesInStackingOrder) {
    TitleWindows others(titledWindows);
    ASSERT_TRUE(others.ready());
    QWidget own;
    ASSERT_TRUE(showOwnWindow(own));

    const auto entries = walk();
    for (const QString& title : expectedTitles) {
        EXPECT_EQ(count(entries, title), 1) << title.toStdString();
        if (const auto* e = find(entries, title)) {
            EXPECT_FALSE(e->ownWindow) << title.toStdString();
        }
    }
    const auto* mine = find(entries, ownTitle);
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(mine->ownWindow);
    // Later windows lie above earlier ones; the walk starts at the top.
    EXPECT_LT(indexOf(entries, QStringLiteral("正在演示: 讲稿.odp")), indexOf(entries, QStringLiteral("Terminal - bash")));
    EXPECT_LT(indexOf(entries, ownTitle), indexOf(entries, QStringLiteral("Terminal - bash")));
}

TEST_F(X11Desktop, ANewDesktopCostsAFewBatchesAndAnUnchangedOneOnlyTheTree) {
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QStringLiteral("%1:many %2").arg(i % 3 ? QStringLiteral("shown") : QStringLiteral("hidden")).arg(i);
    TitleWindows few(QStringList{QStringLiteral("shown:few 0"), QStringLiteral("shown:few 1")});
    ASSERT_TRUE(few.ready());
    walk();
    const int batchesFew = windows.lastWalk().batches;
    TitleWindows w(many);
    ASSERT_TRUE(w.ready());
    auto entries = walk();
    EXPECT_EQ(count(entries, QStringLiteral("many 59")), 1);
    const auto& r = windows.lastWalk();
    EXPECT_LE(r.batches, std::max(batchesFew, 3)) << "round trips do not grow with the windows";
    EXPECT_GE(r.propertyReads, 60) << "one name read for each new window";
    EXPECT_LE(r.propertyReads, 60 + 4);

    entries = walk();
    EXPECT_EQ(count(entries, QStringLiteral("many 59")), 1);
    EXPECT_EQ(windows.lastWalk().batches, 1);
    EXPECT_EQ(windows.lastWalk().treeQueries, 1);
    EXPECT_EQ(windows.lastWalk().propertyReads, 0) << "nothing changed, nothing read";
}

TEST_F(X11Desktop, TitlesChangedSinceTheLastWalkAreReadAgain) {
    TitleWindows others(QStringList{QStringLiteral("shown:first"), QStringLiteral("hidden:second"),
                                    QStringLiteral("latin1:third"), QStringLiteral("shown:fourth")});
    ASSERT_TRUE(others.ready());
    walk();
    ASSERT_TRUE(others.command(QStringLiteral("rename 0 第一 renamed")));
    ASSERT_TRUE(others.command(QStringLiteral("rename 1 second renamed while hidden")));
    ASSERT_TRUE(others.command(QStringLiteral("legacy 2 troisième")));
    ASSERT_TRUE(others.command(QStringLiteral("destroy 3")));
    auto entries = walk();
    EXPECT_EQ(count(entries, QStringLiteral("第一 renamed")), 1);
    EXPECT_EQ(count(entries, QStringLiteral("first")), 0);
    EXPECT_EQ(count(entries, QStringLiteral("second renamed while hidden")), 1);
    EXPECT_EQ(count(entries, QStringLiteral("troisième")), 1);
    EXPECT_EQ(count(entries, QStringLiteral("fourth")), 0);
    EXPECT_LE(windows.lastWalk().propertyReads, 6) << "only the changed ones";

    platform::X11WindowList reading(platform::X11WindowList::Mode::Reading);
    std::vector<WindowList::Entry> fresh;
    reading.walk(fresh);
    entries = walk();
    ASSERT_EQ(entries.size(), fresh.size());
    for (size_t i = 0; i < fresh.size(); ++i)
        EXPECT_EQ(entries[i].title, fresh[i].title) << i;
}

TEST_F(X11Desktop, WindowsVanishingMidWalkEndItQuietly) {
    TitleWindows stable(QStringList{QStringLiteral("shown:stable one"), QStringLiteral("hidden:stable two")});
    ASSERT_TRUE(stable.ready());
    TitleWindows churn(QStringList{QStringLiteral("--churn")});
    ASSERT_TRUE(churn.ready());
    static QStringList xcbErrors;
    xcbErrors.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (m.contains(QLatin1String("XCB error")))
            xcbErrors << m;
    });
    int churnSeen = 0;
    for (int i = 0; i < 300; ++i) {
        const auto entries = walk();
        ASSERT_EQ(count(entries, QStringLiteral("stable one")), 1) << i;
        ASSERT_EQ(count(entries, QStringLiteral("stable two")), 1) << i;
        churnSeen += count(entries, QStringLiteral("churn window"));
        QCoreApplication::processEvents(); // errors, if any, would arrive as events
    }
    qInstallMessageHandler(previous);
    EXPECT_GT(churnSeen, 0) << "windows came and went during the walks";
    EXPECT_TRUE(xcbErrors.isEmpty()) << xcbErrors.join('\n').toStdString();
}

TEST_F(X11Desktop, UnderAWindowManagerTitlesAreFoundThroughTheFramesClients) {
    WindowManager wm;
    ASSERT_TRUE(wm.running());
    TitleWindows others(titledWindows + QStringList{QStringLiteral("iconic:最小化的窗口 minimised")});
    ASSERT_TRUE(others.ready());
    QWidget own;
    ASSERT_TRUE(showOwnWindow(own));
    // The manager wraps the shown ones in frames of its own.
    const xcb_window_t root = rootWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return parentOf(others.ids[0]) != root && parentOf(static_cast<xcb_window_t>(own.winId())) != root; },
        10000));
    EXPECT_EQ(parentOf(others.ids[2]), root) << "a never-shown window stays unmanaged";

    QStringList wanted = expectedTitles;
    wanted << QStringLiteral("最小化的窗口 minimised");
    std::vector<WindowList::Entry> entries;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            entries = walk();
            return std::all_of(wanted.begin(), wanted.end(), [&](const QString& t) { return count(entries, t) == 1; });
        },
        10000));
    for (const QString& title : wanted)
        EXPECT_FALSE(find(entries, title)->ownWindow) << title.toStdString();
    const auto* mine = find(entries, ownTitle);
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(mine->ownWindow) << "judged by the client inside the frame";
    EXPECT_LE(windows.lastWalk().batches, 8);

    // A framed client renamed, a framed one withdrawn: the next walk has it as it is now,
    // the same as reading every title again.
    ASSERT_TRUE(others.command(QStringLiteral("rename 1 讲稿.odp - LibreOffice Impress")));
    ASSERT_TRUE(others.command(QStringLiteral("unmap 0")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return parentOf(others.ids[0]) == root; }, 10000));
    entries = walk();
    EXPECT_EQ(count(entries, QStringLiteral("讲稿.odp - LibreOffice Impress")), 1);
    EXPECT_EQ(count(entries, QStringLiteral("讲稿.ppt - Microsoft PowerPoint")), 0);
    EXPECT_EQ(count(entries, QStringLiteral("Terminal - bash")), 1) << "withdrawn, so hidden, still counts";
    platform::X11WindowList reading(platform::X11WindowList::Mode::Reading);
    std::vector<WindowList::Entry> fresh;
    reading.walk(fresh);
    entries = walk();
    ASSERT_EQ(entries.size(), fresh.size());
    for (size_t i = 0; i < fresh.size(); ++i) {
        EXPECT_EQ(entries[i].title, fresh[i].title) << i;
        EXPECT_EQ(entries[i].ownWindow, fresh[i].ownWindow) << i;
    }
}

TEST_F(X11Desktop, UnderAWindowManagerFramesVanishingMidWalkAreQuietToo) {
    WindowManager wm;
    ASSERT_TRUE(wm.running());
    TitleWindows stable(QStringList{QStringLiteral("shown:stable framed")});
    ASSERT_TRUE(stable.ready());
    ASSERT_TRUE(QTest::qWaitFor([&] { return count(walk(), QStringLiteral("stable framed")) == 1; }, 10000));
    TitleWindows churn(QStringList{QStringLiteral("--churn")});
    ASSERT_TRUE(churn.ready());
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(count(walk(), QStringLiteral("stable framed")), 1) << i;
        QCoreApplication::processEvents();
    }
}

// ---- always on top -------------------------------------------------------------------

TEST_F(X11Desktop, MakeTopmostRaisesTheWindowAboveAnotherWithoutMovingIt) {
    QWidget ours(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    ours.setGeometry(100, 120, 300, 150);
    ours.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    const auto id = static_cast<xcb_window_t>(ours.winId());
    TitleWindows cover(QStringList{QStringLiteral("above:covering window")});
    ASSERT_TRUE(cover.ready());
    ASSERT_EQ(rootChildren().back(), cover.ids[0]);

    platform::X11WindowPlacement placement;
    placement.makeTopmost(&ours);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rootChildren().back() == topLevelOf(id); }, 5000));
    EXPECT_EQ(ours.geometry(), QRect(100, 120, 300, 150));
}

// The window manager's stacking list, bottom first.
std::vector<xcb_window_t> clientStacking() {
    xcb_connection_t* c = connection();
    const char* name = "_NET_CLIENT_LIST_STACKING";
    xcb_intern_atom_reply_t* a =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    std::vector<xcb_window_t> list;
    if (a) {
        xcb_get_property_reply_t* p = xcb_get_property_reply(
            c, xcb_get_property(c, 0, rootWindow(), a->atom, XCB_ATOM_WINDOW, 0, 4096), nullptr);
        if (p) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(p));
            list.assign(ids, ids + xcb_get_property_value_length(p) / 4);
        }
        free(p);
    }
    free(a);
    return list;
}

TEST_F(X11Desktop, UnderAWindowManagerMakeTopmostRaisesItAboveAnotherAlwaysOnTopWindow) {
    WindowManager wm;
    ASSERT_TRUE(wm.running());
    QWidget ours(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    ours.setGeometry(100, 120, 300, 150);
    ours.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    const auto id = static_cast<xcb_window_t>(ours.winId());
    TitleWindows cover(QStringList{QStringLiteral("above:covering window")});
    ASSERT_TRUE(cover.ready());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto stack = clientStacking();
            return !stack.empty() && stack.back() == cover.ids[0];
        },
        10000));

    platform::X11WindowPlacement placement;
    placement.makeTopmost(&ours);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto stack = clientStacking();
            return !stack.empty() && stack.back() == id;
        },
        5000));
    EXPECT_EQ(ours.geometry(), QRect(100, 120, 300, 150));
}

// ---- the whole program on the real desktop -------------------------------------------

// The program with the real screen, pointer, keys, window walk and placement; messages,
// sounds, processes and the rest stay fakes.
class RealDesktopProgram {
public:
    RealDesktopProgram() : m_previous(QDir::currentPath()) {
        for (const QString& name : AppHarness::defaultDataFiles()) {
            QFile f(m_dir.filePath(name));
            f.open(QIODevice::WriteOnly);
        }
        QDir::setCurrent(m_dir.path());
        app = std::make_unique<Application>(m_platform, m_dir.path());
    }
    ~RealDesktopProgram() {
        app.reset();
        QDir::setCurrent(m_previous);
    }
    MainWindow& main() { return app->ctx().forms.ref<MainWindow>(); }

    platform::FakePlatform fake;
    std::unique_ptr<Application> app;

private:
    platform::QtScreen m_screen;
    platform::X11WindowPlacement m_placement;
    platform::X11KeyState m_keys;
    platform::X11WindowList m_windows;
    platform::Platform m_platform{fake.messages, m_screen,      m_placement, fake.instance, fake.sounds, m_keys,
                                  m_windows,     fake.taskbar, fake.input,  fake.processes, fake.chores, fake.desktopWindows};
    QTemporaryDir m_dir;
    QString m_previous;
};

class RealProgram : public X11Desktop {
protected:
    void SetUp() override {
        X11Desktop::SetUp();
        ASSERT_TRUE(program.app->start());
        w = &program.main();
        program.main().timer(QStringLiteral("Timer6"))->tick();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    void poll() { w->timer(QStringLiteral("Timer2"))->tick(); }
    void moveTo(QPoint p) { xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())}); }

    RealDesktopProgram program;
    MainWindow* w = nullptr;
};

TEST_F(RealProgram, DraggedToTheTopEdgeItIsTuckedAndThePointerOnTheStripBringsItBack) {
    AppState& s = program.app->ctx().state;
    auto* handle = w->control<QLabel>(QStringLiteral("Label7"));
    const QPoint grip = handle->mapToGlobal(handle->rect().center());
    const int topPx = w->y();
    moveTo(grip);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    moveTo(grip - QPoint(0, topPx + 40));
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Top() <= 0; }, 5000)) << w->Top();

    moveTo({640, 700});
    poll();
    EXPECT_EQ(s.dockedTop, 1);
    EXPECT_EQ(w->Top(), 90 - 2850);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->geometry().bottom() == 5; }, 5000))
        << "six pixels (90 twips) stay on the screen";

    moveTo({w->x() + 100, 2});
    poll();
    EXPECT_EQ(s.dockedTop, 0);
    EXPECT_EQ(w->Top(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->y() == 0; }, 5000));

    moveTo({640, 700});
    poll();
    EXPECT_EQ(s.dockedTop, 1) << "tucked again once the pointer leaves";
}

TEST_F(RealProgram, F9BringsTheHiddenMainWindowBackCentred) {
    w->hide();
    w->setLeft(300);
    xdotool({QStringLiteral("keydown"), QStringLiteral("F9")});
    poll();
    xdotool({QStringLiteral("keyup"), QStringLiteral("F9")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Left(), (w->screenWidth() - w->Width()) / 2);
    EXPECT_EQ(w->Top(), 2000);
}

} // namespace
