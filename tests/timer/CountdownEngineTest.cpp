#include "ReadyProgramTest.h"

#include "core/FormTimer.h"
#include "timer/CountdownEngine.h"
#include "timer/MainWindow.h"
#include "timer/TimerAlerts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Answer = platform::MessageBoxes::Answer;

class CountdownTest : public ReadyProgramTest {
protected:
    void SetUp() override {
        ReadyProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        h.fake.messages.shown.clear();
    }

    QLineEdit* text(int n) { return w->control<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    QLabel* label(int n) { return w->control<QLabel>(QStringLiteral("Label%1").arg(n)); }
    QPushButton* command(int n) { return w->control<QPushButton>(QStringLiteral("Command%1").arg(n)); }
    QRadioButton* option(int n) { return w->control<QRadioButton>(QStringLiteral("Option%1").arg(n)); }
    FormTimer* timer(int n) { return w->timer(QStringLiteral("Timer%1").arg(n)); }
    void setTimes(const char* m, const char* s, const char* rm, const char* rs) {
        text(1)->setText(QLatin1String(m));
        text(4)->setText(QLatin1String(s));
        text(2)->setText(QLatin1String(rm));
        text(5)->setText(QLatin1String(rs));
    }
    void tick(int times = 1) { h.tick(*w, QStringLiteral("Timer1"), times); }
    QColor color(QWidget* widget) { return widget->palette().color(QPalette::WindowText); }

};

TEST_F(CountdownTest, TooShortIsRefusedWithTheTwentySecondMessage) {
    setTimes("00", "19", "00", "00");
    command(1)->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具"));
    EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("    请输入定时时间，定时时间至少需大于20秒"));
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Idle);
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_EQ(w->Top(), 2000);
    // Refused starts still leave the presets locked until the next Stop.
    EXPECT_FALSE(option(1)->isEnabled());
    EXPECT_FALSE(label(7)->isEnabled());
    EXPECT_FALSE(command(5)->isEnabled());
}

TEST_F(CountdownTest, ReminderTooLateIsRefusedAndClearsTheReminderMinutes) {
    setTimes("01", "00", "00", "51");
    command(1)->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
    EXPECT_EQ(h.fake.messages.shown[0].text,
              QStringLiteral("    “定时时间”需大于“提前提醒时间”至少10秒，请重新输入"));
    EXPECT_EQ(text(2)->text(), QStringLiteral("0"));
    EXPECT_EQ(text(5)->text(), QStringLiteral("51"));
    EXPECT_EQ(w->engine().preset(1).reminderMinutes, QStringLiteral("0"));
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Idle);
}

TEST_F(CountdownTest, TwentySecondsWithTenSecondReminderIsAccepted) {
    setTimes("00", "20", "00", "10");
    command(1)->click();
    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Running);
}

TEST_F(CountdownTest, OneMinuteCountsDownOncePerTick) {
    command(1)->click();
    EXPECT_EQ(label(3)->text(), QStringLiteral("01 : 00"));
    EXPECT_EQ(label(31)->text(), QStringLiteral("定时 01:00 提前 00:30"));
    EXPECT_EQ(label(8)->text(), QStringLiteral("定时一"));
    EXPECT_EQ(h.ctx().state.publishedSetMinutes, 1);
    EXPECT_EQ(h.ctx().state.publishedSetSeconds, 0);
    tick();
    EXPECT_EQ(label(3)->text(), QStringLiteral("01 : 00"));
    tick();
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 59"));
    tick(58);
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 01"));
    EXPECT_FALSE(timer(3)->enabled());
    tick();
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 00"));
    EXPECT_TRUE(timer(3)->enabled());
    EXPECT_FALSE(timer(1)->enabled());
}

TEST_F(CountdownTest, StartPlaysTheStartSoundWithCloseOpenPlay) {
    command(1)->click();
    ASSERT_GE(h.fake.sounds.log.size(), 3u);
    const auto& log = h.fake.sounds.log;
    const size_t n = log.size();
    EXPECT_EQ(log[n - 3].command, QStringLiteral("Close"));
    EXPECT_EQ(log[n - 2].command, QStringLiteral("Open"));
    EXPECT_EQ(log[n - 1].command, QStringLiteral("PLAY"));
    EXPECT_EQ(log[n - 1].fileName, QStringLiteral("start.wav"));
}

TEST_F(CountdownTest, ZeroHandsOverToTheTimeUpSequence) {
    h.ctx().state.dockedTop = 1;
    setTimes("00", "20", "00", "00");
    command(1)->click();
    tick(21);
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 00"));
    EXPECT_EQ(w->Left(), 135);
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(h.ctx().state.dockedTop, 0);
    EXPECT_EQ(h.ctx().state.enlargedViewSignal, 88);
    EXPECT_TRUE(timer(3)->enabled());
    for (int n : {1, 2, 3, 4})
        EXPECT_FALSE(command(n)->isEnabled()) << n;
    // Idle only once the time-up sequence has ticked.
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Running);
}

TEST_F(CountdownTest, ReminderHandOverSavesATuckedPlacementAndCentres) {
    command(1)->click();
    w->setLeft(-5000);
    w->setTop(300);
    h.ctx().state.dockedLeft = 1;
    tick(30);
    EXPECT_FALSE(timer(4)->enabled());
    tick();
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 30"));
    EXPECT_TRUE(timer(4)->enabled());
    EXPECT_FALSE(command(4)->isEnabled());
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(w->Left(), (w->screenWidth() - w->Width()) / 2);
    EXPECT_EQ(h.ctx().state.dockedLeft, 0);
    const auto& saved = w->alerts().reminderPlacement;
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.left, -5000);
    EXPECT_EQ(saved.top, 300);
    EXPECT_EQ(saved.dockedLeft, 1);
}

TEST_F(CountdownTest, PauseAndContinueResumeAtTheSameDisplay) {
    command(1)->click();
    tick(16);
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 45"));
    command(2)->click();
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Paused);
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_TRUE(timer(5)->enabled());
    EXPECT_EQ(command(2)->text(), QStringLiteral("继续"));
    EXPECT_EQ(command(2)->toolTip(), QStringLiteral("继续开始定时器计时"));
    EXPECT_EQ(label(18)->text(), QStringLiteral("暂停计时"));
    EXPECT_EQ(color(label(18)), QColor(255, 0, 0));
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 45"));

    command(2)->click();
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Running);
    EXPECT_TRUE(timer(1)->enabled());
    EXPECT_FALSE(timer(5)->enabled());
    EXPECT_EQ(command(2)->text(), QStringLiteral("暂停"));
    EXPECT_EQ(label(18)->text(), QStringLiteral("正在计时"));
    EXPECT_EQ(color(label(18)), QColor(0, 0, 0));
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 45"));
    tick(15);
    EXPECT_EQ(label(3)->text(), QStringLiteral("00 : 30"));
    EXPECT_TRUE(timer(4)->enabled());
}

TEST_F(CountdownTest, StopAnsweredNoGoesOnAndYesReturnsToIdle) {
    setTimes("02", "05", "00", "30");
    command(1)->click();
    tick(3);
    w->setTop(500);
    command(3)->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.fake.messages.shown[0].question);
    EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("       确实要停止计时吗?  "));
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Running);
    EXPECT_TRUE(timer(1)->enabled());

    timer(2)->setEnabled(false);
    h.fake.messages.answers.push_back(Answer::Yes);
    command(3)->click();
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Idle);
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_TRUE(timer(2)->enabled());
    EXPECT_EQ(label(3)->text(), QStringLiteral("02 : 05"));
    EXPECT_EQ(text(1)->text(), QStringLiteral("02"));
    EXPECT_EQ(text(4)->text(), QStringLiteral("05"));
    EXPECT_EQ(w->engine().model().remainingMinutes, 2);
    EXPECT_EQ(w->engine().model().remainingSeconds, 5);
    EXPECT_FALSE(label(8)->isVisibleTo(w));
    EXPECT_FALSE(label(18)->isVisibleTo(w));
}

// Which controls each countdown state shows and enables.
TEST_F(CountdownTest, ControlsFollowTheCountdownState) {
    struct Expect {
        bool start, pause, stop, presets, fields, display;
        const char* pauseCaption;
    };
    auto check = [&](const Expect& e, const char* state) {
        SCOPED_TRACE(state);
        EXPECT_EQ(command(1)->isEnabled(), e.start);
        EXPECT_EQ(command(2)->isEnabled(), e.pause);
        EXPECT_EQ(command(2)->text(), QString::fromUtf8(e.pauseCaption));
        EXPECT_EQ(command(3)->isEnabled(), e.stop);
        for (int n : {1, 2, 3})
            EXPECT_EQ(option(n)->isEnabled(), e.presets);
        EXPECT_EQ(label(7)->isEnabled(), e.presets);
        for (int n : {1, 2, 4, 5})
            EXPECT_EQ(text(n)->isVisibleTo(w), e.fields) << "Text" << n;
        for (int n : {1, 2, 22, 28, 29, 30})
            EXPECT_EQ(label(n)->isVisibleTo(w), e.fields) << "Label" << n;
        for (int n : {3, 31, 18, 8})
            EXPECT_EQ(label(n)->isVisibleTo(w), e.display) << "Label" << n;
    };
    const Expect idle{true, false, false, true, true, false, "暂停"};
    const Expect running{false, true, true, false, false, true, "暂停"};
    const Expect paused{false, true, true, false, false, true, "继续"};

    check(idle, "idle");
    command(1)->click();
    check(running, "running");
    command(2)->click();
    check(paused, "paused");
    command(2)->click();
    check(running, "continued");
    h.fake.messages.answers.push_back(Answer::Yes);
    command(3)->click();
    check(idle, "stopped");
    command(2)->click();
    command(1)->click();
    h.fake.messages.answers.push_back(Answer::Yes);
    command(3)->click(); // stop straight from pause
    check(idle, "stopped while paused");
    EXPECT_FALSE(timer(5)->enabled());
}

TEST_F(CountdownTest, PresetEditsAreRememberedPerPreset) {
    EXPECT_EQ(color(option(1)), QColor(255, 0, 0));
    option(2)->click();
    EXPECT_EQ(text(1)->text(), QStringLiteral("01"));
    EXPECT_EQ(text(4)->text(), QStringLiteral("01"));
    EXPECT_EQ(text(2)->text(), QStringLiteral("00"));
    EXPECT_EQ(text(5)->text(), QStringLiteral("31"));
    EXPECT_EQ(color(option(2)), QColor(255, 0, 0));
    EXPECT_EQ(color(option(1)), QColor(0, 0, 0));
    EXPECT_EQ(color(option(3)), QColor(0, 0, 0));
    text(1)->setText(QStringLiteral("05"));
    option(1)->click();
    EXPECT_EQ(text(1)->text(), QStringLiteral("01"));
    option(2)->click();
    EXPECT_EQ(text(1)->text(), QStringLiteral("05"));
    option(3)->click();
    EXPECT_EQ(text(4)->text(), QStringLiteral("02"));
    EXPECT_EQ(text(5)->text(), QStringLiteral("32"));
}

TEST_F(CountdownTest, SecondsAboveFiftyNineKeepTheFocusWithTheRangeMessage) {
    w->show();
    QApplication::setActiveWindow(w);
    text(4)->setFocus();
    ASSERT_TRUE(text(4)->hasFocus());
    text(4)->setText(QStringLiteral("75"));
    pointer::press(text(1));
    pointer::release(text(1));
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
    EXPECT_EQ(h.fake.messages.shown[0].text,
              QStringLiteral("“分”钟值范围：0-99，“秒”钟值范围：1-59，点击“确定”后请在光标指示位置输入一个0-59"
                             "的数字!"));
    EXPECT_TRUE(text(4)->hasFocus());

    // The Start click that would have moved the focus does not happen either.
    pointer::press(command(1));
    pointer::release(command(1));
    EXPECT_EQ(h.ctx().state.countdownState, AppState::Idle);
    EXPECT_EQ(h.fake.messages.shown.size(), 2u);

    text(4)->setText(QStringLiteral("59"));
    pointer::press(text(5));
    EXPECT_EQ(h.fake.messages.shown.size(), 2u);
}

} // namespace
