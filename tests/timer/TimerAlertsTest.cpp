// The three alert sequences of the main window, driven tick by tick.
#include "ReadyProgramTest.h"
#include "VirtualClock.h"

#include "core/FormTimer.h"
#include "desktop/FloatingToolbar.h"
#include "timer/CountdownEngine.h"
#include "timer/MainWindow.h"
#include "timer/TimerAlerts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMoveEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

class TimerAlertsTest : public ReadyProgramTest {
protected:
    void SetUp() override {
        ReadyProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        // The draw launcher is someone else's window; a stand-in shows whether it gets closed.
        h.ctx().forms.setFactory(FormId::Form2, [](AppContext& ctx) {
            return std::make_unique<Form>(ctx, FormId::Form2, QStringLiteral(":/forms/Form1.json"));
        });
    }

    AppState& state() { return h.ctx().state; }
    QLineEdit* text(int n) { return w->control<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    QLabel* label(int n) { return w->control<QLabel>(QStringLiteral("Label%1").arg(n)); }
    QPushButton* command(int n) { return w->control<QPushButton>(QStringLiteral("Command%1").arg(n)); }
    FormTimer* timer(int n) { return w->timer(QStringLiteral("Timer%1").arg(n)); }
    QColor color(QWidget* widget) { return widget->palette().color(QPalette::WindowText); }
    bool shown(QWidget* c) { return c->isVisibleTo(w); }
    FloatingToolbar& toolbar() { return h.ctx().forms.ref<FloatingToolbar>(); }
    Form* enlarged() { return h.ctx().forms.loaded(FormId::Form6); }
    int centredLeft() { return (w->screenWidth() - w->Width()) / 2; }
    int played(const QString& file) { return static_cast<int>(h.fake.sounds.played().count(file)); }

    void startWith(const char* m, const char* s, const char* rm, const char* rs) {
        text(1)->setText(QLatin1String(m));
        text(4)->setText(QLatin1String(s));
        text(2)->setText(QLatin1String(rm));
        text(5)->setText(QLatin1String(rs));
        command(1)->click();
        ASSERT_EQ(state().countdownState, AppState::Running);
    }
    // Counts down until the reminder hand-over has happened.
    void runToReminder() {
        for (int i = 0; i < 6000 && !timer(4)->enabled(); ++i)
            h.tick(*w, QStringLiteral("Timer1"));
        ASSERT_TRUE(timer(4)->enabled());
    }
    void reminderTick(int times = 1) { h.tick(*w, QStringLiteral("Timer4"), times); }
    void timeUpTick(int times = 1) { h.tick(*w, QStringLiteral("Timer3"), times); }
    // The Shrink button of the poll: the toolbar takes the main window's place.
    void shrink() {
        state().topmostRequest = QStringLiteral("Y");
        w->hide();
        state().dockedLeft = state().dockedTop = state().dockedRight = 0;
        toolbar().showInPlaceOf(*w);
    }

};

TEST_F(TimerAlertsTest, ReminderAtHalfAMinuteBlinksShowsTheTimeLeftAndPlaysOnce) {
    startWith("01", "00", "00", "30");
    runToReminder();
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 30"));
    ASSERT_TRUE(w->isVisible());
    h.fake.sounds.log.clear();

    // Ticks 1-5 invert the window's visibility, 6-12 keep it shown.
    const bool visibleAfter[13] = {false, true, false, true, false, true, true, true, true, true, true, true, true};
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        reminderTick();
        EXPECT_EQ(w->isVisible(), visibleAfter[n - 1]);
        EXPECT_EQ(w->alerts().reminderTicks, n);
        EXPECT_TRUE(shown(label(6)));
        EXPECT_EQ(label(6)->text(), QStringLiteral("还剩0分30秒!"));
        for (int l : {1, 2, 3})
            EXPECT_FALSE(shown(label(l))) << "Label" << l;
        for (int t : {1, 2})
            EXPECT_FALSE(shown(text(t))) << "Text" << t;
        EXPECT_FALSE(command(3)->isEnabled());
        EXPECT_FALSE(command(4)->isEnabled());
        EXPECT_TRUE(timer(4)->enabled());
    }
    EXPECT_EQ(played(QStringLiteral("middle.wav")), 1);
    EXPECT_EQ(h.fake.sounds.log.size(), 3u) << "Close, Open, PLAY once";

    reminderTick(); // 13: the end
    EXPECT_FALSE(timer(4)->enabled());
    EXPECT_EQ(w->alerts().reminderTicks, 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(shown(label(6)));
    EXPECT_TRUE(shown(label(3)));
    EXPECT_TRUE(command(3)->isEnabled());
    EXPECT_TRUE(command(4)->isEnabled());
    EXPECT_FALSE(shown(text(1))) << "the fields stay hidden while counting";
    // A window that was not tucked stays centred.
    EXPECT_EQ(w->Left(), centredLeft());
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(played(QStringLiteral("middle.wav")), 1);
}

TEST_F(TimerAlertsTest, ReminderTextUsesPlainNumbers) {
    startWith("02", "00", "01", "05");
    runToReminder();
    EXPECT_EQ(label(3)->text(), QStringLiteral("01 : 05"));
    reminderTick();
    EXPECT_EQ(label(6)->text(), QStringLiteral("还剩1分5秒!"));
}

TEST_F(TimerAlertsTest, ReminderPlacesTheEnlargedWindowBelowTheMainWindow) {
    startWith("01", "00", "00", "30");
    runToReminder();
    ASSERT_EQ(enlarged(), nullptr);
    reminderTick();
    Form* big = enlarged();
    ASSERT_NE(big, nullptr) << "loaded by the reminder";
    EXPECT_FALSE(big->isVisible()) << "but not shown";
    EXPECT_EQ(big->Left(), (big->screenWidth() - big->Width()) / 2);
    EXPECT_EQ(big->Top(), 2000 + 2850 + 600);
}

TEST_F(TimerAlertsTest, HiddenMainWindowAndVisibleToolbarComeBackAsTheyWere) {
    startWith("01", "00", "00", "30");
    shrink();
    ASSERT_TRUE(toolbar().isVisible());
    runToReminder();
    toolbar().timer(QStringLiteral("Timer1"))->setEnabled(false);

    const bool visibleAfter[12] = {true, false, true, false, true, true, true, true, true, true, true, true};
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        reminderTick();
        EXPECT_EQ(w->isVisible(), visibleAfter[n - 1]);
        EXPECT_FALSE(toolbar().isVisible());
    }
    reminderTick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(toolbar().isVisible());
    EXPECT_TRUE(toolbar().timer(QStringLiteral("Timer1"))->enabled()) << "its refresh runs again";
    EXPECT_FALSE(w->alerts().toolbarWasVisible);
    EXPECT_FALSE(w->alerts().mainWasVisible);
}

TEST_F(TimerAlertsTest, TuckedWindowReturnsToItsTuckedPlaceAndFlags) {
    startWith("01", "00", "00", "30");
    w->setLeft(3000);
    w->setTop(90 - 2850);
    state().dockedTop = 1;
    runToReminder();
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(state().dockedTop, 0);
    reminderTick(12);
    EXPECT_EQ(w->Left(), centredLeft());
    EXPECT_EQ(w->Top(), 2000);
    reminderTick();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Left(), 3000);
    EXPECT_EQ(w->Top(), 90 - 2850);
    EXPECT_EQ(state().dockedTop, 1);
    EXPECT_EQ(state().dockedLeft, 0);
    EXPECT_EQ(state().dockedRight, 0);
    EXPECT_FALSE(w->alerts().reminderPlacement.saved);
}

TEST_F(TimerAlertsTest, ReminderFromTheSixthTickClosesTheDrawLauncher) {
    startWith("01", "00", "00", "30");
    runToReminder();
    h.ctx().forms.ref(FormId::Form2);
    reminderTick(5);
    EXPECT_TRUE(h.ctx().forms.isLoaded(FormId::Form2));
    reminderTick();
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form2));
}

TEST_F(TimerAlertsTest, EnlargedWindowClosedDuringTheReminderLeavesTheMainWindowShown) {
    startWith("01", "00", "00", "30");
    pointer::doubleClick(label(3));
    ASSERT_NE(enlarged(), nullptr);
    ASSERT_TRUE(enlarged()->isVisible());
    ASSERT_FALSE(w->isVisible());
    runToReminder();
    reminderTick(7);
    pointer::doubleClick(enlarged()->controlWidget(QStringLiteral("Label1")));
    EXPECT_EQ(state().enlargedViewSignal, 99);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    reminderTick(6);
    EXPECT_TRUE(w->isVisible()) << "the main window was hidden at the start, but nothing else shows the time now";
    EXPECT_NE(state().enlargedViewSignal, 99) << "the signal is consumed";
    EXPECT_NE(state().enlargedViewSignal, 88);
}

TEST_F(TimerAlertsTest, EnlargedWindowClosedBeforeTheReminderAlsoLeavesTheMainWindowShown) {
    startWith("01", "00", "00", "30");
    pointer::doubleClick(label(3));
    pointer::doubleClick(enlarged()->controlWidget(QStringLiteral("Label1")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(state().enlargedViewSignal, 99);
    shrink();
    runToReminder();
    reminderTick(13);
    EXPECT_TRUE(w->isVisible());
    EXPECT_NE(state().enlargedViewSignal, 99);
}

TEST_F(TimerAlertsTest, EnlargedWindowStillOpenAtTheEndOfTheReminderKeepsTheMainWindowHidden) {
    startWith("01", "00", "00", "30");
    pointer::doubleClick(label(3));
    runToReminder();
    reminderTick(13);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(enlarged()->isVisible());
}

TEST_F(TimerAlertsTest, TimeUpBouncesBetweenTheMarginsThenRestsCentredAndReturnsToIdle) {
    startWith("00", "20", "00", "00");
    shrink();
    h.ctx().forms.ref(FormId::Form2);
    h.tick(*w, QStringLiteral("Timer1"), 21);
    ASSERT_TRUE(timer(3)->enabled());
    EXPECT_EQ(w->Left(), 135);
    EXPECT_EQ(w->Top(), 2000);
    h.fake.sounds.log.clear();

    const int rightLimit = w->screenWidth() - w->Width() - 135;
    // The same walk, worked out step by step: out to the right limit and back.
    int left = 135, direction = -1;
    std::vector<int> reversals;
    for (int n = 1; n <= 321; ++n) {
        SCOPED_TRACE(n);
        timeUpTick();
        if (direction == -1 && left <= rightLimit)
            left += 100;
        else if (direction == 1 && left >= 135)
            left -= 100;
        if (left > rightLimit || left <= 135) {
            direction = -direction;
            reversals.push_back(n);
        }
        ASSERT_EQ(w->Left(), left);
        EXPECT_EQ(w->Top(), 2000);
        if (n == 1) {
            EXPECT_EQ(w->Left(), 235);
            EXPECT_EQ(state().countdownState, AppState::Idle) << "idle from the first tick";
            EXPECT_TRUE(w->isVisible());
            EXPECT_FALSE(toolbar().isVisible());
            EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form2));
            EXPECT_TRUE(shown(label(5)));
            EXPECT_EQ(label(5)->text(), QStringLiteral(" 时间到！"));
            EXPECT_EQ(color(label(5)), QColor(255, 0, 0));
            EXPECT_FALSE(shown(label(3)));
            EXPECT_EQ(played(QStringLiteral("end.wav")), 1);
        }
    }
    // 1280 px screen: 133 steps out to 13435 (beyond 13365), 133 back to 135.
    ASSERT_EQ(reversals.size(), 2u);
    EXPECT_EQ(reversals[0], (rightLimit - 135) / 100 + 1);
    EXPECT_GT(w->alerts().timeUpTicks, 320);

    timeUpTick(); // 322
    EXPECT_EQ(w->Left(), centredLeft());
    EXPECT_EQ(w->Top(), 2000);
    timeUpTick(477); // 799
    EXPECT_TRUE(timer(3)->enabled());
    EXPECT_TRUE(shown(label(5)));
    EXPECT_FALSE(command(1)->isEnabled());
    EXPECT_EQ(w->Left(), centredLeft());

    timer(2)->setEnabled(false);
    timeUpTick(); // 800: the end
    EXPECT_FALSE(timer(3)->enabled());
    EXPECT_EQ(w->alerts().timeUpTicks, 0);
    EXPECT_EQ(w->alerts().bounceDirection, -1);
    EXPECT_FALSE(shown(label(5)));
    EXPECT_EQ(w->Left(), centredLeft());
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(played(QStringLiteral("end.wav")), 1) << "once, on the first tick";
    // The idle layout, exactly as after Stop.
    EXPECT_EQ(state().countdownState, AppState::Idle);
    EXPECT_TRUE(command(1)->isEnabled());
    EXPECT_FALSE(command(2)->isEnabled());
    EXPECT_EQ(command(2)->text(), QStringLiteral("暂停"));
    EXPECT_FALSE(command(3)->isEnabled());
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_TRUE(timer(2)->enabled());
    for (int n : {1, 2, 4, 5})
        EXPECT_TRUE(shown(text(n))) << "Text" << n;
    EXPECT_EQ(text(1)->text(), QStringLiteral("00"));
    EXPECT_EQ(text(4)->text(), QStringLiteral("20"));
    EXPECT_EQ(text(5)->text(), QStringLiteral("00"));
    for (int n : {1, 2, 22, 28, 29, 30})
        EXPECT_TRUE(shown(label(n))) << "Label" << n;
    for (int n : {31, 3, 18, 8})
        EXPECT_FALSE(shown(label(n))) << "Label" << n;
    for (int n : {1, 2, 3})
        EXPECT_TRUE(w->control<QRadioButton>(QStringLiteral("Option%1").arg(n))->isEnabled());
    EXPECT_TRUE(label(7)->isEnabled());
    EXPECT_EQ(w->engine().model().remainingSeconds, 20);
}

// A window manager confirms each move in its own time; the confirmation of the previous
// step arriving after the next one must not set the banner back.
TEST_F(TimerAlertsTest, LateConfirmationOfAnEarlierStepDoesNotSetTheBannerBack) {
    startWith("00", "20", "00", "00");
    h.tick(*w, QStringLiteral("Timer1"), 21);
    timeUpTick(3);
    ASSERT_EQ(w->Left(), 435);
    const QPoint earlier(335 / 15, 2000 / 15); // where tick 2 put it, in pixels
    QMoveEvent late(earlier, earlier);
    QApplication::sendEvent(w, &late);
    EXPECT_EQ(w->Left(), 435);
    timeUpTick();
    EXPECT_EQ(w->Left(), 535);

    // A move nobody asked for (the user through the window manager) is still followed.
    QMoveEvent foreign(QPoint(500, 300), QPoint(36, 133));
    QApplication::sendEvent(w, &foreign);
    EXPECT_EQ(w->Left(), 7500);
    EXPECT_EQ(w->Top(), 4500);
}

// Reminder 00:02 on 00:20: the 3.9 s reminder is still running when the time is up, and
// the two sequences tick side by side on the real intervals.
TEST_F(TimerAlertsTest, ShortReminderOverlapsTheTimeUpAndTheBannerPrevails) {
    startWith("00", "20", "00", "02");
    shrink();
    VirtualClock clock;
    for (int n : {1, 3, 4, 5})
        clock.add(timer(n));

    int steps = 0;
    while (!timer(3)->enabled() && steps++ < 30000)
        clock.step();
    ASSERT_TRUE(timer(3)->enabled());
    ASSERT_TRUE(timer(4)->enabled()) << "the reminder is still running";
    EXPECT_GT(w->alerts().reminderTicks, 5);

    bool reminderEndedDuringTimeUp = false;
    while (timer(3)->enabled() && steps++ < 60000) {
        const int16_t before = w->alerts().timeUpTicks;
        const int16_t reminderBefore = w->alerts().reminderTicks;
        const bool reminderRunning = timer(4)->enabled();
        clock.step();
        const bool reminderTicked = w->alerts().reminderTicks != reminderBefore || reminderRunning != timer(4)->enabled();
        if (reminderRunning && !timer(4)->enabled()) {
            reminderEndedDuringTimeUp = true;
            // The reminder's last tick still gives back Stop and Shrink and its own labels.
            EXPECT_TRUE(command(3)->isEnabled());
            EXPECT_TRUE(command(4)->isEnabled());
            EXPECT_FALSE(shown(label(6)));
        }
        if (timer(3)->enabled() && w->alerts().timeUpTicks != before && !reminderTicked) {
            // After every banner tick the time-up layout is what shows (a reminder tick in
            // the same 5 ms may undo it until the next banner tick).
            ASSERT_TRUE(w->isVisible());
            ASSERT_TRUE(shown(label(5)));
            ASSERT_FALSE(shown(label(3)));
            ASSERT_FALSE(toolbar().isVisible());
        }
    }
    EXPECT_TRUE(reminderEndedDuringTimeUp);
    EXPECT_FALSE(timer(3)->enabled());
    EXPECT_FALSE(timer(4)->enabled());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(shown(label(5)));
    EXPECT_FALSE(shown(label(6)));
    EXPECT_TRUE(shown(text(1)));
    EXPECT_TRUE(command(1)->isEnabled());
    EXPECT_EQ(state().countdownState, AppState::Idle);
    EXPECT_EQ(played(QStringLiteral("middle.wav")), 1);
    EXPECT_EQ(played(QStringLiteral("end.wav")), 1);
}

TEST_F(TimerAlertsTest, PauseBlinkAlternatesRedAndBlueAndContinueDrawsBlack) {
    startWith("01", "00", "00", "30");
    command(2)->click();
    ASSERT_TRUE(timer(5)->enabled());
    EXPECT_EQ(color(label(18)), QColor(255, 0, 0));
    h.tick(*w, QStringLiteral("Timer5"));
    EXPECT_EQ(w->alerts().pauseBlinkPhase, -1);
    EXPECT_EQ(color(label(18)), QColor(0, 0, 255));
    h.tick(*w, QStringLiteral("Timer5"));
    EXPECT_EQ(color(label(18)), QColor(255, 0, 0));
    h.tick(*w, QStringLiteral("Timer5"));
    EXPECT_EQ(color(label(18)), QColor(0, 0, 255));
    command(2)->click();
    EXPECT_FALSE(timer(5)->enabled());
    EXPECT_EQ(color(label(18)), QColor(0, 0, 0));

    // The phase is never reset: the next pause starts red and its first tick gives red again.
    command(2)->click();
    EXPECT_EQ(color(label(18)), QColor(255, 0, 0));
    h.tick(*w, QStringLiteral("Timer5"));
    EXPECT_EQ(w->alerts().pauseBlinkPhase, 1);
    EXPECT_EQ(color(label(18)), QColor(255, 0, 0));
    h.fake.messages.answers.push_back(platform::MessageBoxes::Answer::Yes);
    command(3)->click();
    EXPECT_EQ(color(label(18)), QColor(0, 0, 0));
}

} // namespace
