// Form3, the floating toolbar, on the fake desktop.
#include "ReadyProgramTest.h"

#include "core/FormTimer.h"
#include "desktop/FloatingToolbar.h"
#include "timer/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class FloatingToolbarTest : public ReadyProgramTest {
protected:

    AppState& state() { return h.ctx().state; }
    FloatingToolbar& bar() { return h.ctx().forms.ref<FloatingToolbar>(); }
    QWidget* c(const char* name) { return bar().controlWidget(QLatin1String(name)); }
    QLabel* label(int n) { return bar().control<QLabel>(QStringLiteral("Label%1").arg(n)); }
    FormTimer* timer(int n) { return bar().timer(QStringLiteral("Timer%1").arg(n)); }
    void click(const char* name) {
        pointer::press(c(name));
        pointer::release(c(name));
    }
    void startWith(const char* m, const char* s) {
        w->control<QLineEdit>(QStringLiteral("Text1"))->setText(QLatin1String(m));
        w->control<QLineEdit>(QStringLiteral("Text4"))->setText(QLatin1String(s));
        w->control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("00"));
        w->control<QLineEdit>(QStringLiteral("Text5"))->setText(QStringLiteral("00"));
        w->control<QPushButton>(QStringLiteral("Command1"))->click();
        ASSERT_EQ(state().countdownState, AppState::Running);
    }
    // The Shrink button of the poll, as the poll does it.
    void shrink() {
        state().topmostRequest = QStringLiteral("Y");
        w->hide();
        state().dockedLeft = state().dockedTop = state().dockedRight = 0;
        bar().showInPlaceOf(*w);
    }

};

TEST_F(FloatingToolbarTest, ControlsAndTextsAsDesigned) {
    EXPECT_EQ(bar().Height(), 510);
    EXPECT_TRUE(bar().windowTitle().isEmpty());
    EXPECT_EQ(label(1)->text(), QStringLiteral("定时00分00秒,剩余00分00秒"));
    EXPECT_EQ(label(1)->toolTip(), QStringLiteral("请将本工具条拖动到最合适的显示位置"));
    EXPECT_EQ(label(1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(c("Image1")->toolTip(), QStringLiteral("鼠标单击此图标显示计时主界面"));
    EXPECT_EQ(c("Image2")->toolTip(), QStringLiteral("鼠标单击此图标关闭工具条，按功能键F11恢复显示"));
    for (const char* icon : {"Image1", "Image2"}) {
        auto* image = static_cast<QLabel*>(c(icon));
        EXPECT_EQ(image->pixmap().size(), QSize(16, 16)) << icon;
        EXPECT_EQ(image->geometry().size(), QSize(16, 16)) << icon;
    }
    auto* frame = qobject_cast<QGroupBox*>(c("Frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("温馨提示："));
    EXPECT_FALSE(frame->isVisibleTo(&bar()));
    // The hint is one sentence across four labels.
    EXPECT_EQ(label(2)->text() + label(3)->text() + label(4)->text() + label(5)->text(),
              QStringLiteral("    点击“确认”按钮将隐藏半透明工具栏和程序主窗口。要再次恢复显示计时主窗口，可以按下功能键F9."));
    EXPECT_EQ(label(5)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(static_cast<QPushButton*>(c("Command1"))->text(), QStringLiteral("确认"));
    EXPECT_EQ(static_cast<QPushButton*>(c("Command2"))->text(), QStringLiteral("返回"));
    EXPECT_EQ(c("Label1")->geometry(), QRect(30, 5, 269, 20));
    EXPECT_EQ(c("Image2")->geometry().topLeft(), QPoint(302, 6));
    EXPECT_EQ(c("Frame1")->geometry(), QRect(8, 4, 310, 133));
    EXPECT_EQ(c("Command2")->geometry(), QRect(253, 100, 44, 22));
    EXPECT_EQ(timer(1)->interval(), 200);
    EXPECT_EQ(timer(2)->interval(), 100);
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_FALSE(timer(2)->enabled());
}

TEST_F(FloatingToolbarTest, LoadPlacesItOverTheMainWindowTranslucentAndAsksForTopmost) {
    w->setLeft(3000);
    w->setTop(1200);
    state().topmostRequest = QStringLiteral("N");
    h.fake.placement.topmostCalls.clear();
    FloatingToolbar& b = bar();
    EXPECT_EQ(b.Left(), 3000 + (5700 - b.Width()) / 2);
    EXPECT_EQ(b.Top(), 1200);
    EXPECT_EQ(b.tickCounter(), 0);
    EXPECT_DOUBLE_EQ(b.windowOpacity(), 150.0 / 255.0);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    ASSERT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(h.fake.placement.topmostCalls[0], &b);
    EXPECT_FALSE(b.isVisible());
}

TEST_F(FloatingToolbarTest, ShrinkPutsTheStripCentredOverTheMainWindow) {
    startWith("05", "00");
    w->setLeft(2000);
    w->setTop(700);
    shrink();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().Left(), 2000 + (5700 - bar().Width()) / 2);
    EXPECT_EQ(bar().Top(), 700);
    EXPECT_EQ(bar().Height(), 510);
    EXPECT_TRUE(timer(1)->enabled());
    EXPECT_TRUE(timer(2)->enabled());
}

TEST_F(FloatingToolbarTest, RefreshShowsTheStateOrTheTimes) {
    h.tick(bar(), QStringLiteral("Timer1"));
    EXPECT_EQ(label(1)->text(), QStringLiteral("当前计时状态：未开始计时…"));

    startWith("09", "05");
    h.tick(bar(), QStringLiteral("Timer1"));
    EXPECT_EQ(label(1)->text(), QStringLiteral("定时09分05秒,剩余09分05秒"));
    w->control<QLabel>(QStringLiteral("Label3"))->setText(QStringLiteral("03 : 27"));
    h.tick(bar(), QStringLiteral("Timer1"));
    EXPECT_TRUE(label(1)->text().startsWith(QStringLiteral("定时09分05秒")));
    EXPECT_EQ(label(1)->text(), QStringLiteral("定时09分05秒,剩余03分27秒"));

    w->control<QPushButton>(QStringLiteral("Command2"))->click();
    h.tick(bar(), QStringLiteral("Timer1"));
    EXPECT_EQ(label(1)->text(), QStringLiteral(" 当前计时状态：暂停计时…"));
}

TEST_F(FloatingToolbarTest, RefreshLeavesTheTextAloneWhileTheHintPanelIsOpen) {
    startWith("05", "00");
    shrink();
    click("Image2");
    ASSERT_TRUE(bar().hintPanelShown());
    label(1)->setText(QStringLiteral("x"));
    h.tick(bar(), QStringLiteral("Timer1"));
    EXPECT_EQ(label(1)->text(), QStringLiteral("x"));
}

TEST_F(FloatingToolbarTest, KeepOnScreenPullsItBackInside) {
    FloatingToolbar& b = bar();
    const int sw = b.screenWidth(), sh = b.screenHeight();
    b.setLeft(-300);
    b.setTop(-45);
    h.tick(b, QStringLiteral("Timer2"));
    EXPECT_EQ(b.Left(), 0);
    EXPECT_EQ(b.Top(), 0);

    b.setLeft(sw);
    b.setTop(sh);
    h.tick(b, QStringLiteral("Timer2"));
    EXPECT_EQ(b.Left(), sw - b.Width());
    EXPECT_EQ(b.Top(), sh - 510 - 450) << "its bottom edge 450 above the screen's";

    // The hint panel is taller, so it is lifted further.
    b.setHeight(2265);
    h.tick(b, QStringLiteral("Timer2"));
    EXPECT_EQ(b.Top(), sh - 2265 - 450);

    b.setLeft(1000);
    b.setTop(1000);
    h.tick(b, QStringLiteral("Timer2"));
    EXPECT_EQ(b.Left(), 1000);
    EXPECT_EQ(b.Top(), 1000);
}

TEST_F(FloatingToolbarTest, KeepOnScreenReassertsTopmostEveryThirtyOneTicksWhileVisible) {
    FloatingToolbar& b = bar();
    h.fake.placement.topmostCalls.clear();
    h.tick(b, QStringLiteral("Timer2"), 31);
    EXPECT_TRUE(h.fake.placement.topmostCalls.empty()) << "hidden: no re-assertion";
    EXPECT_EQ(b.tickCounter(), 0) << "but the counter still starts over";

    b.show();
    h.tick(b, QStringLiteral("Timer2"), 30);
    EXPECT_TRUE(h.fake.placement.topmostCalls.empty());
    h.tick(b, QStringLiteral("Timer2"));
    ASSERT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(h.fake.placement.topmostCalls[0], &b);
    h.tick(b, QStringLiteral("Timer2"), 31);
    EXPECT_EQ(h.fake.placement.topmostCalls.size(), 2u);
}

TEST_F(FloatingToolbarTest, FirstIconBringsTheMainWindowBackCentredOverTheToolbar) {
    startWith("05", "00");
    shrink();
    bar().setLeft(6000);
    bar().setTop(9000);
    state().dockedTop = 1;
    state().dockedRight = 1;
    click("Image1");
    EXPECT_FALSE(bar().isVisible());
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_FALSE(timer(2)->enabled());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Left(), 6000 - (5700 - bar().Width()) / 2);
    EXPECT_EQ(w->Top(), 9000);
    EXPECT_EQ(state().dockedTop, 0);
    EXPECT_EQ(state().dockedLeft, 0);
    EXPECT_EQ(state().dockedRight, 0);
}

TEST_F(FloatingToolbarTest, SecondIconIsRefusedWhenTheCountdownIsUnattended) {
    const QString refusal = QStringLiteral(
        "以下三种情况不能隐藏主界面            \n\n    1.当前未开始计时，或\n    2.当前为暂停计时，或\n"
        "    3.当前打开了PPT文件但没有播放该文件");
    auto expectRefused = [&](const char* why) {
        SCOPED_TRACE(why);
        h.fake.messages.shown.clear();
        bar().setLeft(100);
        bar().setTop(100);
        click("Image2");
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
        EXPECT_EQ(h.fake.messages.shown[0].text, refusal);
        EXPECT_EQ(bar().Top(), 2000);
        EXPECT_EQ(bar().Left(), (bar().screenWidth() - bar().Width()) / 2);
        EXPECT_TRUE(bar().isVisible()) << "the toolbar stays";
        EXPECT_FALSE(bar().hintPanelShown());
        EXPECT_EQ(bar().Height(), 510);
    };
    bar().show();
    expectRefused("not started");

    startWith("05", "00");
    bar().show();
    w->control<QPushButton>(QStringLiteral("Command2"))->click();
    expectRefused("paused");

    w->control<QPushButton>(QStringLiteral("Command2"))->click();
    state().presentationSeen = true;
    state().slideShowSeen = false;
    expectRefused("a presentation is open but not shown");

    state().slideShowSeen = true;
    h.fake.messages.shown.clear();
    click("Image2");
    EXPECT_TRUE(h.fake.messages.shown.empty()) << "a running slide show may be left alone";
    EXPECT_TRUE(bar().hintPanelShown());
}

TEST_F(FloatingToolbarTest, HintPanelOpensOpaqueAndBackReturnsToTheTranslucentStrip) {
    startWith("05", "00");
    shrink();
    QApplication::setActiveWindow(&bar());
    click("Image2");
    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_EQ(bar().Height(), 2265);
    EXPECT_FALSE(bar().windowTitle().isEmpty());
    EXPECT_FALSE(label(1)->isVisibleTo(&bar()));
    EXPECT_TRUE(c("Frame1")->isVisibleTo(&bar()));
    EXPECT_DOUBLE_EQ(bar().windowOpacity(), 1.0);
    EXPECT_TRUE(c("Command1")->hasFocus() || !bar().isActiveWindow());
    EXPECT_EQ(bar().focusWidget(), c("Command1"));

    static_cast<QPushButton*>(c("Command2"))->click();
    EXPECT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().Height(), 510);
    EXPECT_TRUE(bar().windowTitle().isEmpty());
    EXPECT_TRUE(label(1)->isVisibleTo(&bar()));
    EXPECT_FALSE(c("Frame1")->isVisibleTo(&bar()));
    EXPECT_DOUBLE_EQ(bar().windowOpacity(), 150.0 / 255.0);
    EXPECT_TRUE(timer(1)->enabled());
    EXPECT_TRUE(timer(2)->enabled());
}

TEST_F(FloatingToolbarTest, ConfirmHidesEverything) {
    startWith("05", "00");
    shrink();
    click("Image2");
    static_cast<QPushButton*>(c("Command1"))->click();
    EXPECT_FALSE(bar().isVisible());
    EXPECT_FALSE(w->isVisible()) << "the main window stays hidden: F9 brings it back";
    EXPECT_FALSE(timer(1)->enabled());
    EXPECT_FALSE(timer(2)->enabled());
    EXPECT_EQ(bar().Height(), 510);
    EXPECT_TRUE(bar().windowTitle().isEmpty());
    EXPECT_FALSE(c("Frame1")->isVisibleTo(&bar()));
    EXPECT_TRUE(label(1)->isVisibleTo(&bar()));
    EXPECT_DOUBLE_EQ(bar().windowOpacity(), 150.0 / 255.0);
}

// The function key folds the hint panel away and hides the toolbar without
// touching the alpha; the strip comes back translucent all the same.
TEST_F(FloatingToolbarTest, StripShownAgainAfterTheFunctionKeyIsTranslucent) {
    startWith("05", "00");
    shrink();
    click("Image2");
    ASSERT_DOUBLE_EQ(bar().windowOpacity(), 1.0);
    bar().hide();
    bar().setWindowTitle(QString());
    bar().setHeight(510);
    c("Frame1")->hide();
    c("Label1")->show();
    shrink();
    EXPECT_DOUBLE_EQ(bar().windowOpacity(), 150.0 / 255.0);
}

TEST_F(FloatingToolbarTest, DraggedByItsTextIconsAndHintPanel) {
    startWith("05", "00");
    shrink();
    for (const char* name : {"Label1", "Image1", "Image2"}) {
        const int left = bar().Left(), top = bar().Top();
        pointer::press(c(name), {3, 3});
        pointer::dragTo(c(name), {23, 13});
        EXPECT_EQ(bar().Left(), left + 300) << name;
        EXPECT_EQ(bar().Top(), top + 150) << name;
        // Release outside the icon, so that it is no click.
        pointer::release(c(name), {100, 100});
    }
    EXPECT_TRUE(bar().isVisible());
    click("Image2");
    for (const char* name : {"Frame1", "Label2", "Label3", "Label4"}) {
        const int left = bar().Left();
        pointer::press(c(name), {3, 3});
        pointer::dragTo(c(name), {13, 3});
        pointer::release(c(name), {13, 3});
        EXPECT_EQ(bar().Left(), left + 150) << name;
    }
}

TEST_F(FloatingToolbarTest, PointerOverAHintButtonGivesItTheFocus) {
    startWith("05", "00");
    shrink();
    QApplication::setActiveWindow(&bar());
    click("Image2");
    pointer::moveOver(c("Command2"));
    EXPECT_EQ(bar().focusWidget(), c("Command2"));
    pointer::moveOver(c("Command1"));
    EXPECT_EQ(bar().focusWidget(), c("Command1"));
}

} // namespace
