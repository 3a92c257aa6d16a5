// The system-wide input block on the real X display: a keyboard and pointer grab that
// other clients and synthesized input run into, and that always comes back.

#include "platform/x11/X11InputBlock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <functional>

using namespace std::chrono_literals;

namespace {

// Another program on the same display.
class OtherClient {
public:
    OtherClient() : d(XOpenDisplay(nullptr)) {}
    ~OtherClient() {
        if (d)
            XCloseDisplay(d);
    }
    bool canGrabKeyboard() {
        const int r = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (r == GrabSuccess)
            XUngrabKeyboard(d, CurrentTime);
        XSync(d, False);
        return r == GrabSuccess;
    }
    bool canGrabPointer() {
        const int r = XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                                   None, CurrentTime);
        if (r == GrabSuccess)
            XUngrabPointer(d, CurrentTime);
        XSync(d, False);
        return r == GrabSuccess;
    }
    // A key typed as xdotool types it, through the XTEST extension; processed by the
    // server once this returns.
    void type(KeySym key) {
        const KeyCode code = XKeysymToKeycode(d, key);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XSync(d, False);
    }
    Display* d;
};

// Runs the Qt event loop until the condition holds or the deadline passes.
bool eventually(const std::function<bool()>& condition, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class InputBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(other.d, nullptr) << "no X display";
        ASSERT_TRUE(other.canGrabKeyboard()) << "the display's keyboard is held by somebody else";
    }
    OtherClient other;
};

TEST_F(InputBlockTest, WhileBlockedNoOtherClientGetsKeyboardOrPointer) {
    platform::X11InputBlock block;
    ASSERT_TRUE(block.setBlocked(true));
    EXPECT_TRUE(block.isBlocked());
    EXPECT_FALSE(other.canGrabKeyboard());
    EXPECT_FALSE(other.canGrabPointer());
    // Asking again changes nothing.
    EXPECT_TRUE(block.setBlocked(true));
    EXPECT_FALSE(other.canGrabKeyboard());

    EXPECT_TRUE(block.setBlocked(false));
    EXPECT_FALSE(block.isBlocked());
    EXPECT_TRUE(other.canGrabKeyboard());
    EXPECT_TRUE(other.canGrabPointer());
    // A release without a block is harmless.
    EXPECT_TRUE(block.setBlocked(false));
}

TEST_F(InputBlockTest, TypedKeysDoNotReachAWindowWhileBlocked) {
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("input block target"));
    field.show();
    field.activateWindow();
    field.setFocus();
    ASSERT_TRUE(eventually([&] { return field.hasFocus() && field.isActiveWindow(); }));

    other.type(XK_a);
    ASSERT_TRUE(eventually([&] { return field.text() == QLatin1String("a"); })) << field.text().toStdString();

    platform::X11InputBlock block;
    ASSERT_TRUE(block.setBlocked(true));
    other.type(XK_b);
    // Whatever was to arrive has arrived once the server has answered our own round trip.
    XSync(other.d, False);
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(field.text(), QLatin1String("a"));

    ASSERT_TRUE(block.setBlocked(false));
    other.type(XK_c);
    ASSERT_TRUE(eventually([&] { return field.text().endsWith(u'c'); })) << field.text().toStdString();
    EXPECT_EQ(field.text(), QLatin1String("ac")); // the key typed while blocked never came
}

TEST_F(InputBlockTest, TheTimeLimitGivesInputBackWhileTheUiThreadIsStuck) {
    platform::X11InputBlock block(400ms);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(block.setBlocked(true));
    ASSERT_FALSE(other.canGrabKeyboard());
    // This thread is the program's UI thread, and from here on it runs no event at all,
    // as if a handler had hung; only the block's own thread can give the input back.
    bool back = false;
    while (!back && t.elapsed() < 5000)
        back = other.canGrabKeyboard();
    EXPECT_TRUE(back);
    EXPECT_GE(t.elapsed(), 350); // not given back before its time
    EXPECT_FALSE(block.isBlocked());
    EXPECT_TRUE(other.canGrabPointer());
    // Released once more by the program later: nothing happens.
    EXPECT_TRUE(block.setBlocked(false));
    // And it blocks again when asked, with a fresh limit.
    ASSERT_TRUE(block.setBlocked(true));
    EXPECT_FALSE(other.canGrabKeyboard());
    EXPECT_TRUE(block.setBlocked(false));
}

TEST_F(InputBlockTest, EndingTheProgramGivesInputBack) {
    {
        auto block = std::make_unique<platform::X11InputBlock>();
        ASSERT_TRUE(block->setBlocked(true));
        ASSERT_FALSE(other.canGrabKeyboard());
    }
    EXPECT_TRUE(other.canGrabKeyboard());
    EXPECT_TRUE(other.canGrabPointer());
}

TEST_F(InputBlockTest, AKeyboardHeldElsewhereIsReportedAsNotBlocked) {
    ASSERT_EQ(XGrabKeyboard(other.d, DefaultRootWindow(other.d), False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XSync(other.d, False);
    platform::X11InputBlock block;
    EXPECT_FALSE(block.setBlocked(true)); // honest: only the pointer could be taken
    EXPECT_TRUE(block.isBlocked());
    XUngrabKeyboard(other.d, CurrentTime);
    XSync(other.d, False);
    EXPECT_TRUE(block.setBlocked(false));
    EXPECT_TRUE(other.canGrabPointer());
}

} // namespace
