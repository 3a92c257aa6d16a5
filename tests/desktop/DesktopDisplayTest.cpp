// The enlarged window, the toolbar and the time-up banner as real X11 windows: what the
// X server holds (opacity property, title, position) and, when VEXLO_SHOTS_DIR names a
// folder, screenshots of each view for a person to look at.
#include "core/FormTimer.h"
#include "desktop/EnlargedWindow.h"
#include "desktop/FloatingToolbar.h"
#include "lifecycle/Application.h"
#include "platform/fake/FakePlatform.h"
#include "platform/x11/QtScreen.h"
#include "platform/x11/X11WindowPlacement.h"
#include "timer/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Display* xdisplay() { return qApp->nativeInterface<QNativeInterface::QX11Application>()->display(); }

// A 32-bit CARDINAL property of the window, if it is set.
std::optional<unsigned long> cardinal(QWidget* window, const char* name) {
    Display* d = xdisplay();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> value;
    if (XGetWindowProperty(d, static_cast<::Window>(window->winId()), XInternAtom(d, name, False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        value = reinterpret_cast<unsigned long*>(data)[0] & 0xffffffffUL; // Xlib hands 32-bit items as longs
    if (data)
        XFree(data);
    return value;
}

QString utf8Property(QWidget* window, const char* name) {
    Display* d = xdisplay();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString text;
    if (XGetWindowProperty(d, static_cast<::Window>(window->winId()), XInternAtom(d, name, False), 0, 1024, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after, &data) == Success &&
        data)
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(count));
    if (data)
        XFree(data);
    return text;
}

// Where the X server has the window, in root coordinates.
QPoint rootPosition(QWidget* window) {
    Display* d = xdisplay();
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(d, static_cast<::Window>(window->winId()), DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return {x, y};
}

bool mapped(QWidget* window) {
    XWindowAttributes a{};
    XGetWindowAttributes(xdisplay(), static_cast<::Window>(window->winId()), &a);
    return a.map_state == IsViewable;
}

// Lets the X server and the windows catch up before looking at the screen.
void settle() {
    XSync(xdisplay(), False);
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(40);
    }
}

void shot(const char* name) {
    const QString dir = qEnvironmentVariable("VEXLO_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    settle();
    QTest::qWait(300); // a compositor, if one runs, repaints on its own schedule
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    screen.save(QDir(dir).filePath(QLatin1String(name) + QStringLiteral(".png")));
}

// What stands behind the toolbar during a talk: a slide, so that translucency shows.
class SlideBackdrop : public QWidget {
public:
    SlideBackdrop() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(30, 80, 160));
        g.setColorAt(1, QColor(240, 240, 255));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f = font();
        f.setPixelSize(64);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 20, width(), 200), Qt::AlignCenter, QStringLiteral("第三章  课堂演讲示例"));
        f.setPixelSize(28);
        f.setBold(false);
        p.setFont(f);
        p.setPen(QColor(20, 20, 60));
        p.drawText(QRect(120, 260, width() - 240, 400), Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("• 计时工具条漂浮在幻灯片之上\n• 半透明，不遮挡讲稿内容\n• 拖动到最合适的位置"));
    }
};

class DesktopDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9)); }

    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs the test X display";
        ASSERT_NE(qApp->nativeInterface<QNativeInterface::QX11Application>(), nullptr);
        for (const char* f : {"name.xls", "name1.xls", "MYPPT.ppt", "Note1.PPT", "Note2.PPT"}) {
            QFile file(dir.filePath(QLatin1String(f)));
            file.open(QIODevice::WriteOnly);
        }
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        app = std::make_unique<Application>(platform, dir.path());
        ASSERT_TRUE(app->start());
        w = &app->ctx().forms.ref<MainWindow>();
        w->timer(QStringLiteral("Timer6"))->tick();
        backdrop.setGeometry(QGuiApplication::primaryScreen()->geometry());
        backdrop.show();
        w->raise();
        settle();
    }
    void TearDown() override {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(previous);
    }

    AppContext& ctx() { return app->ctx(); }
    void startWith(const char* m, const char* s, const char* rm, const char* rs) {
        w->control<QLineEdit>(QStringLiteral("Text1"))->setText(QLatin1String(m));
        w->control<QLineEdit>(QStringLiteral("Text4"))->setText(QLatin1String(s));
        w->control<QLineEdit>(QStringLiteral("Text2"))->setText(QLatin1String(rm));
        w->control<QLineEdit>(QStringLiteral("Text5"))->setText(QLatin1String(rs));
        w->control<QPushButton>(QStringLiteral("Command1"))->click();
        ASSERT_EQ(ctx().state.countdownState, AppState::Running);
    }
    void tick(Form& f, const char* timer, int times = 1) {
        for (int i = 0; i < times; ++i)
            f.timer(QLatin1String(timer))->tick();
    }

    // The real screen and stacking; everything that would block or reach outside is fake.
    platform::FakePlatform fakes;
    platform::QtScreen screen;
    platform::X11WindowPlacement placement;
    platform::Platform platform{fakes.messages, screen,         placement,       fakes.instance,
                                fakes.sounds,   fakes.keys,     fakes.windows,   fakes.taskbar,
                                fakes.input,    fakes.processes, fakes.chores,     fakes.desktopWindows};
    QTemporaryDir dir;
    QString previous;
    std::unique_ptr<Application> app;
    MainWindow* w = nullptr;
    SlideBackdrop backdrop;
};

TEST_F(DesktopDisplay, EnlargedWindowDuringACountdown) {
    startWith("05", "00", "00", "30");
    tick(*w, "Timer1", 14);
    shot("main-running");
    QTest::mouseDClick(w->controlWidget(QStringLiteral("Label3")), Qt::LeftButton);
    auto& big = ctx().forms.ref<EnlargedWindow>();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&big));
    tick(big, "Timer1");
    settle();
    EXPECT_TRUE(mapped(&big));
    EXPECT_FALSE(mapped(w));
    EXPECT_TRUE(utf8Property(&big, "_NET_WM_NAME").startsWith(QStringLiteral(" Kelvora工具  计时放大窗口")));
    EXPECT_EQ(rootPosition(&big), QPoint(big.Left() / 15, big.Top() / 15));
    EXPECT_EQ(big.control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("04 : 47"));
    shot("enlarged-running");
}

TEST_F(DesktopDisplay, ToolbarStripIsTranslucentAndTheHintPanelOpaque) {
    startWith("05", "00", "00", "30");
    tick(*w, "Timer1", 74);
    w->hide();
    auto& bar = ctx().forms.ref<FloatingToolbar>();
    bar.showInPlaceOf(*w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    tick(bar, "Timer1");
    settle();
    const unsigned long stripAlpha = static_cast<unsigned long>(qRound64(150.0 / 255.0 * 0xffffffffu));
    auto alpha = cardinal(&bar, "_NET_WM_WINDOW_OPACITY");
    ASSERT_TRUE(alpha.has_value()) << "the desktop carries the window's constant alpha";
    EXPECT_NEAR(double(*alpha), double(stripAlpha), 2.0);
    EXPECT_EQ(bar.control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("定时05分00秒,剩余03分47秒"));
    EXPECT_EQ(rootPosition(&bar), QPoint(bar.Left() / 15, bar.Top() / 15));
    shot("toolbar-strip");

    QTest::mouseClick(bar.controlWidget(QStringLiteral("Image2")), Qt::LeftButton);
    settle();
    ASSERT_TRUE(bar.hintPanelShown());
    alpha = cardinal(&bar, "_NET_WM_WINDOW_OPACITY");
    EXPECT_TRUE(!alpha || *alpha == 0xffffffffu) << "opaque while the hint panel is shown";
    EXPECT_EQ(bar.height(), 151);
    shot("toolbar-hint");

    QTest::mouseClick(bar.controlWidget(QStringLiteral("Command2")), Qt::LeftButton);
    settle();
    alpha = cardinal(&bar, "_NET_WM_WINDOW_OPACITY");
    ASSERT_TRUE(alpha.has_value());
    EXPECT_NEAR(double(*alpha), double(stripAlpha), 2.0);
    EXPECT_EQ(bar.height(), 34);
}

TEST_F(DesktopDisplay, ReminderAndTimeUpBannerOnTheScreen) {
    startWith("00", "20", "00", "10");
    tick(*w, "Timer1", 11);
    tick(*w, "Timer4", 8);
    settle();
    EXPECT_TRUE(mapped(w));
    shot("reminder");
    tick(*w, "Timer4", 5);

    tick(*w, "Timer1", 10);
    ASSERT_TRUE(w->timer(QStringLiteral("Timer3"))->enabled());
    for (int n = 1; n <= 60; ++n) {
        tick(*w, "Timer3");
        QCoreApplication::processEvents();
    }
    settle();
    EXPECT_EQ(w->Left(), 135 + 60 * 100);
    EXPECT_EQ(rootPosition(w), QPoint(w->Left() / 15, w->Top() / 15)) << "the X window follows every step";
    shot("time-up");
    tick(*w, "Timer3", 740);
    settle();
    EXPECT_FALSE(w->timer(QStringLiteral("Timer3"))->enabled());
    EXPECT_EQ(rootPosition(w), QPoint(w->Left() / 15, 2000 / 15));
    shot("after-time-up");
}

// Reminder 00:02 on 00:20: the reminder is still running when the banner starts.
TEST_F(DesktopDisplay, BannerOverARunningReminder) {
    startWith("00", "20", "00", "02");
    tick(*w, "Timer1", 19);
    tick(*w, "Timer4", 7);
    tick(*w, "Timer1", 2);
    ASSERT_TRUE(w->timer(QStringLiteral("Timer3"))->enabled());
    ASSERT_TRUE(w->timer(QStringLiteral("Timer4"))->enabled());
    tick(*w, "Timer3", 10);
    tick(*w, "Timer4");
    settle();
    shot("time-up-over-reminder");
    EXPECT_TRUE(mapped(w));
}

} // namespace
