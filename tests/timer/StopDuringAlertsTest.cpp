// Stop's question stays open while the countdown ticks on beneath it; an alert that begins
// meanwhile must not outlive a "Yes".
#include "ReadyProgramTest.h"
#include "VirtualClock.h"

#include "timer/MainWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Answer = platform::MessageBoxes::Answer;

class StopDuringAlertsTest : public ReadyProgramTest {
protected:
    QWidget* c(const QString& name) { return w->controlWidget(name); }
    FormTimer* timer(int n) { return w->timer(QStringLiteral("Timer%1").arg(n)); }
    bool shown(const QString& name) { return c(name)->isVisibleTo(w); }
};

TEST_F(StopDuringAlertsTest, YesAfterAnAlertBeganUnderTheQuestionLeavesExactlyTheIdleLayout) {
    const struct {
        const char* name;
        const char *minutes, *seconds, *reminderMinutes, *reminderSeconds;
        int alertTimer, alertTicks;
    } cases[] = {
        {"reminder", "01", "00", "00", "30", 4, 3},
        {"time-up", "00", "20", "00", "00", 3, 5},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const QStringList texts = {QLatin1String(k.minutes), QLatin1String(k.seconds),
                                   QLatin1String(k.reminderMinutes), QLatin1String(k.reminderSeconds)};
        const QStringList fields = {QStringLiteral("Text1"), QStringLiteral("Text4"), QStringLiteral("Text2"),
                                    QStringLiteral("Text5")};
        for (int i = 0; i < 4; ++i)
            w->control<QLineEdit>(fields[i])->setText(texts[i]);
        w->control<QPushButton>(QStringLiteral("Command1"))->click();
        ASSERT_EQ(h.ctx().state.countdownState, AppState::Running);
        h.tick(*w, QStringLiteral("Timer1"), 5);

        bool alertBegan = false;
        h.fake.messages.answers = {Answer::Yes};
        h.fake.messages.onShow = [&](const auto&) {
            // Under the question the countdown reaches the alert, which runs a few ticks.
            for (int i = 0; i < 200 && !timer(k.alertTimer)->enabled(); ++i)
                h.tick(*w, QStringLiteral("Timer1"));
            alertBegan = timer(k.alertTimer)->enabled();
            h.tick(*w, QStringLiteral("Timer%1").arg(k.alertTimer), k.alertTicks);
        };
        w->control<QPushButton>(QStringLiteral("Command3"))->click();
        h.fake.messages.onShow = nullptr;
        ASSERT_TRUE(alertBegan);

        // Long after the alert would have ended, nothing of it has ticked.
        VirtualClock clock;
        for (int n : {1, 3, 4, 5})
            clock.add(timer(n));
        bool anyTick = false;
        for (int step = 0; step < 3000; ++step)
            anyTick = clock.step() || anyTick;
        EXPECT_FALSE(anyTick);
        for (int n : {1, 3, 4, 5})
            EXPECT_FALSE(timer(n)->enabled()) << "Timer" << n;

        EXPECT_EQ(h.ctx().state.countdownState, AppState::Idle);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(c(QStringLiteral("Command1"))->isEnabled());
        EXPECT_FALSE(c(QStringLiteral("Command2"))->isEnabled());
        EXPECT_EQ(w->control<QPushButton>(QStringLiteral("Command2"))->text(), QStringLiteral("暂停"));
        EXPECT_FALSE(c(QStringLiteral("Command3"))->isEnabled());
        for (const char* name : {"Option1", "Option2", "Option3", "Label7"})
            EXPECT_TRUE(c(QLatin1String(name))->isEnabled()) << name;
        for (const char* name :
             {"Text1", "Text2", "Text4", "Text5", "Label1", "Label2", "Label22", "Label28", "Label29", "Label30"})
            EXPECT_TRUE(shown(QLatin1String(name))) << name;
        for (const char* name : {"Label3", "Label31", "Label18", "Label8", "Label5", "Label6"})
            EXPECT_FALSE(shown(QLatin1String(name))) << name;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(w->control<QLineEdit>(fields[i])->text(), texts[i]) << "the texts of the start";
    }
}

} // namespace
