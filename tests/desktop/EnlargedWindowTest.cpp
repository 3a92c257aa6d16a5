// Form6, the enlarged timer window, on the fake desktop.
#include "ReadyProgramTest.h"

#include "core/FormTimer.h"
#include "desktop/EnlargedWindow.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class EnlargedWindowTest : public ReadyProgramTest {
protected:

    AppState& state() { return h.ctx().state; }
    EnlargedWindow& big() { return h.ctx().forms.ref<EnlargedWindow>(); }
    QLabel* bigLabel(int n) { return big().control<QLabel>(QStringLiteral("Label%1").arg(n)); }
    QLabel* mainLabel(int n) { return w->control<QLabel>(QStringLiteral("Label%1").arg(n)); }
    void refresh() { h.tick(big(), QStringLiteral("Timer1")); }
    void startWith(const char* m, const char* s) {
        w->control<QLineEdit>(QStringLiteral("Text1"))->setText(QLatin1String(m));
        w->control<QLineEdit>(QStringLiteral("Text4"))->setText(QLatin1String(s));
        w->control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("00"));
        w->control<QLineEdit>(QStringLiteral("Text5"))->setText(QStringLiteral("00"));
        w->control<QPushButton>(QStringLiteral("Command1"))->click();
        ASSERT_EQ(state().countdownState, AppState::Running);
    }

};

TEST_F(EnlargedWindowTest, ControlsAndTextsAsDesigned) {
    EXPECT_TRUE(big().windowTitle().startsWith(QStringLiteral(" Kelvora工具  计时放大窗口")));
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("00 : 00"));
    EXPECT_EQ(bigLabel(3)->text(), QStringLiteral("定时00分00秒"));
    EXPECT_EQ(bigLabel(2)->text(), QStringLiteral("当前计时状态：暂停计时"));
    EXPECT_EQ(bigLabel(4)->text(), QStringLiteral("双击红色数字可关闭本窗口，自动返回主程序界面"));
    EXPECT_EQ(bigLabel(1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (int n : {2, 3, 4})
        EXPECT_EQ(bigLabel(n)->palette().color(QPalette::WindowText), QColor(128, 128, 128)) << n;
    // Twips / 15, relative to the container.
    EXPECT_EQ(big().controlWidget(QStringLiteral("Frame1"))->geometry(), QRect(8, 1, 793, 296));
    EXPECT_EQ(bigLabel(1)->geometry(), QRect(16, 8, 761, 281));
    EXPECT_EQ(big().controlWidget(QStringLiteral("Frame2"))->geometry(), QRect(8, 304, 793, 41));
    EXPECT_EQ(bigLabel(4)->geometry(), QRect(408, 16, 353, 17));
    FormTimer* t = big().timer(QStringLiteral("Timer1"));
    EXPECT_EQ(t->interval(), 200);
    EXPECT_FALSE(t->enabled());
}

TEST_F(EnlargedWindowTest, DigitsFillTheirLabel) {
    QLabel* digits = bigLabel(1);
    const QFontMetricsF fm(digits->font());
    const double width = fm.horizontalAdvance(QStringLiteral("00 : 00"));
    EXPECT_LE(width, digits->width());
    EXPECT_LE(fm.height(), digits->height());
    // Bound by whichever side is tight: the next pixel size would no longer fit.
    EXPECT_GT(width, digits->width() * 0.85);
    EXPECT_GT(digits->font().pixelSize(), 100);
    EXPECT_EQ(EnlargedWindow::digitsPixelSize(*digits), digits->font().pixelSize());
}

TEST_F(EnlargedWindowTest, LoadCentresItBelowTheMainWindowAndAsksForTopmost) {
    w->setTop(1000);
    state().topmostRequest = QStringLiteral("N");
    h.fake.placement.topmostCalls.clear();
    EnlargedWindow& b = big();
    EXPECT_EQ(b.Left(), (b.screenWidth() - b.Width()) / 2);
    EXPECT_EQ(b.Top(), 1000 + 2850 + 600);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    ASSERT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(h.fake.placement.topmostCalls[0], &b);
    EXPECT_FALSE(b.isVisible()) << "loaded hidden";
}

TEST_F(EnlargedWindowTest, DoubleClickOnTheMainDigitsOpensItWithTheSameTime) {
    startWith("12", "05");
    h.tick(*w, QStringLiteral("Timer1"));
    ASSERT_EQ(mainLabel(3)->text(), QStringLiteral("12 : 05"));
    pointer::doubleClick(mainLabel(3));
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(big().isVisible());
    EXPECT_TRUE(big().timer(QStringLiteral("Timer1"))->enabled());
    EXPECT_EQ(state().enlargedViewSignal, 0);
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("12 : 05")) << "no stale time while the first tick is due";
}

TEST_F(EnlargedWindowTest, RefreshMirrorsTheMainDisplayAndTheStatus) {
    startWith("09", "30");
    mainLabel(3)->setText(QStringLiteral("12 : 05"));
    refresh();
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("12 : 05"));
    EXPECT_EQ(bigLabel(2)->text(), QStringLiteral("  当前计时状态：正在计时"));
    EXPECT_EQ(bigLabel(3)->text(), QStringLiteral("定时09分30秒"));

    w->control<QPushButton>(QStringLiteral("Command2"))->click();
    state().publishedSetMinutes = 7; // not shown while paused
    refresh();
    EXPECT_EQ(bigLabel(2)->text(), QStringLiteral("  当前计时状态：暂停计时"));
    EXPECT_EQ(bigLabel(3)->text(), QStringLiteral("定时09分30秒"));
    state().publishedSetMinutes = 9;

    h.fake.messages.answers.push_back(platform::MessageBoxes::Answer::Yes);
    w->control<QPushButton>(QStringLiteral("Command3"))->click();
    refresh();
    EXPECT_EQ(bigLabel(2)->text(), QStringLiteral("  当前计时状态：停止计时"));
    EXPECT_EQ(bigLabel(3)->text(), QStringLiteral("定时09分30秒")) << "the set-time text is unchanged after Stop";
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("09 : 30"));
}

TEST_F(EnlargedWindowTest, TimeUpHidesItButKeepsItLoadedAndShowsTheMainWindow) {
    startWith("00", "20");
    pointer::doubleClick(mainLabel(3));
    ASSERT_TRUE(big().isVisible());
    h.tick(*w, QStringLiteral("Timer1"), 21);
    ASSERT_EQ(state().enlargedViewSignal, 88);
    refresh();
    EXPECT_FALSE(big().isVisible());
    EXPECT_TRUE(h.ctx().forms.isLoaded(FormId::Form6));
    EXPECT_TRUE(big().timer(QStringLiteral("Timer1"))->enabled()) << "its timer keeps running";
    EXPECT_EQ(state().enlargedViewSignal, 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("00 : 00"));

    // Opening it again shows the same window.
    EnlargedWindow* before = &big();
    w->openEnlargedView();
    EXPECT_EQ(&big(), before);
    EXPECT_TRUE(big().isVisible());
}

TEST_F(EnlargedWindowTest, DoubleClickOnItsDigitsClosesItWithSignalNinetyNine) {
    startWith("01", "00");
    pointer::doubleClick(mainLabel(3));
    ASSERT_FALSE(w->isVisible());
    pointer::doubleClick(bigLabel(1));
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form6));
    EXPECT_EQ(state().enlargedViewSignal, 99);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(EnlargedWindowTest, UnloadingForAnyReasonSignalsAndShowsTheMainWindow) {
    big().show();
    w->hide();
    state().enlargedViewSignal = 0;
    h.ctx().forms.unload(FormId::Form6);
    EXPECT_EQ(state().enlargedViewSignal, 99);
    EXPECT_TRUE(w->isVisible());
    // The next reference loads it afresh.
    EXPECT_EQ(bigLabel(1)->text(), QStringLiteral("00 : 00"));
    EXPECT_FALSE(big().timer(QStringLiteral("Timer1"))->enabled());
}

TEST_F(EnlargedWindowTest, DraggedByItsDigitsAndStatusRowButNotByTheDigitFrame) {
    big().show();
    const int left = big().Left(), top = big().Top();
    pointer::press(bigLabel(1), {10, 10});
    pointer::dragTo(bigLabel(1), {30, 5});
    pointer::release(bigLabel(1), {30, 5});
    EXPECT_EQ(big().Left(), left + 20 * 15);
    EXPECT_EQ(big().Top(), top - 5 * 15);

    for (const char* name : {"Frame2", "Label2", "Label3", "Label4"}) {
        QWidget* c = big().controlWidget(QLatin1String(name));
        const int l = big().Left();
        pointer::press(c, {3, 3});
        pointer::dragTo(c, {13, 3});
        pointer::release(c, {13, 3});
        EXPECT_EQ(big().Left(), l + 150) << name;
    }
    QWidget* frame1 = big().controlWidget(QStringLiteral("Frame1"));
    const int l = big().Left();
    pointer::press(frame1, {3, 3});
    pointer::dragTo(frame1, {13, 3});
    pointer::release(frame1, {13, 3});
    EXPECT_EQ(big().Left(), l);
}

} // namespace
