// The main window's 100 ms poll, the Shrink button and the hint's double-click, on the fake
// desktop: timers fired by hand, pointer and keys scripted.
#include "PollFixture.h"

#include "timer/CountdownEngine.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

using platform::vk::f9;

// ---- always on top ------------------------------------------------------------------

TEST_F(PollFixture, TopmostIsReassertedEveryThirtyOneTicksWhileVisible) {
    auto& calls = h.fake.placement.topmostCalls;
    poll(30);
    EXPECT_TRUE(calls.empty());
    poll();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], w);
    EXPECT_EQ(state().topmostTicks, 0);
    poll(30);
    EXPECT_EQ(calls.size(), 1u);
    poll();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(PollFixture, ATopmostRequestIsServedOnTheNextTick) {
    poll(5);
    state().topmostRequest = QStringLiteral("Y");
    poll();
    ASSERT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("N"));
    EXPECT_EQ(state().topmostTicks, 0) << "the 31-tick period starts over";
    poll(30);
    EXPECT_EQ(h.fake.placement.topmostCalls.size(), 1u);
}

TEST_F(PollFixture, NothingIsPutOnTopWhileHiddenAndTheRequestWaits) {
    w->hide();
    state().topmostRequest = QStringLiteral("Y");
    poll(100);
    EXPECT_TRUE(h.fake.placement.topmostCalls.empty());
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    w->show();
    poll();
    EXPECT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("N"));
}

TEST_F(PollFixture, TheTickCounterSurvivesAMillionTicksHidden) {
    w->hide();
    DesktopPoll& p = pollObject();
    for (int i = 0; i < 1'000'000; ++i)
        p.topmostStep();
    EXPECT_GT(state().topmostTicks, 30) << "still due";
    EXPECT_LE(state().topmostTicks, 31) << "and counting no further";
    // A counter left at the old 16-bit limit is simply due as well.
    state().topmostTicks = 32767;
    poll();
    EXPECT_GT(state().topmostTicks, 30);
    EXPECT_TRUE(h.fake.placement.topmostCalls.empty());
    w->show();
    poll();
    EXPECT_EQ(h.fake.placement.topmostCalls.size(), 1u);
    EXPECT_EQ(state().topmostTicks, 0);
}

// ---- docking through the poll --------------------------------------------------------

TEST_F(PollFixture, DraggedToTheTopItIsTuckedAndHoveringTheStripBringsItBack) {
    w->setLeft(4000);
    QWidget* child = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).value(0);
    ASSERT_TRUE(child);
    const QPoint childAt = child->pos();
    w->setTop(-300);
    poll();
    EXPECT_EQ(w->Top(), 90 - 2850);
    EXPECT_EQ(state().dockedTop, 1);
    // Managers keep windows on the screen, so the window itself becomes the strip that is
    // left of it, showing the window's bottom edge.
    EXPECT_EQ(w->geometry(), QRect(267, 0, 380, 6));
    EXPECT_EQ(child->pos(), childAt - QPoint(0, 184));

    pointAt(4000 + 150, 30); // on the 90-twip strip
    poll();
    EXPECT_EQ(w->Top(), 0);
    EXPECT_EQ(state().dockedTop, 0);
    EXPECT_EQ(w->geometry(), QRect(267, 0, 380, 190));
    EXPECT_EQ(child->pos(), childAt);
    poll();
    EXPECT_EQ(w->Top(), 0) << "stays while the pointer is over it";

    h.fake.screen.pointerPx = {-1000, -1000};
    poll();
    EXPECT_EQ(w->Top(), 90 - 2850) << "tucked again once the pointer leaves";
    EXPECT_EQ(state().dockedTop, 1);
}

// GNOME keeps windows below its 32 px top bar: the edges are those of what it leaves to
// windows, and the strip a tucked window leaves lies inside that, where the pointer finds it.
TEST_F(PollFixture, UnderATopBarTheStripLiesBelowItAndTheLeftEdgeTucksAsUsual) {
    h.fake.screen.reservedPx = QMargins(0, 32, 0, 0);
    w->setLeft(4000);
    w->setTop(0); // dragged up against the bar
    poll();
    EXPECT_EQ(state().dockedTop, 1);
    EXPECT_EQ(w->geometry(), QRect(267, 32, 380, 6));
    pointAt(4000 + 150, 34 * 15);
    poll();
    EXPECT_EQ(state().dockedTop, 0);
    EXPECT_EQ(w->geometry(), QRect(267, 32, 380, 190)) << "whole again, just below the bar";

    h.fake.screen.pointerPx = {-1000, -1000};
    w->setLeft(-200);
    w->setTop(3000);
    poll();
    EXPECT_EQ(state().dockedLeft, 1);
    EXPECT_EQ(w->geometry(), QRect(0, 200, 6, 190));
    pointAt(30, 3000 + 300);
    poll();
    EXPECT_EQ(state().dockedLeft, 0);
    EXPECT_EQ(w->geometry(), QRect(0, 200, 380, 190));
}

TEST_F(PollFixture, TuckedWindowsUseTheLayoutModeHeight) {
    state().layoutMode = QStringLiteral("H");
    w->setLeft(4000);
    w->setTop(0);
    poll();
    EXPECT_EQ(w->Height(), 3465);
    EXPECT_EQ(w->Top(), 90 - 3465);
}

TEST_F(PollFixture, LeftAndRightEdgesTuckAndComeBack) {
    w->setLeft(-200);
    w->setTop(sh() - 2850);
    poll();
    EXPECT_EQ(w->Left(), 90 - 5700);
    EXPECT_EQ(w->Top(), sh() - 2850 - 90);
    EXPECT_EQ(state().dockedLeft, 1);
    pointAt(30, sh() - 2000);
    poll();
    EXPECT_EQ(w->Left(), 0);
    EXPECT_EQ(state().dockedLeft, 0);

    h.fake.screen.pointerPx = {-1000, -1000};
    w->setLeft(sw() - 5000);
    w->setTop(sh() - 2850);
    poll();
    EXPECT_EQ(w->Left(), sw() - 90);
    EXPECT_EQ(w->Top(), sh() - 2850 - 210);
    EXPECT_EQ(state().dockedRight, 1);
    pointAt(sw() - 45, sh() - 2850);
    poll();
    EXPECT_EQ(w->Left(), sw() - 5700);
    EXPECT_EQ(state().dockedRight, 0);
}

TEST_F(PollFixture, KeepOnScreenHoldsTheTopEdgeAboveTheBottom) {
    w->setLeft(5000);
    w->setTop(sh() - 100);
    poll();
    EXPECT_EQ(w->Top(), sh() - 540);
    EXPECT_EQ(w->Left(), 5000);
    EXPECT_EQ(state().dockedTop + state().dockedLeft + state().dockedRight, 0);
}

TEST_F(PollFixture, AnUnchangedWindowIsNotMovedAgain) {
    w->setLeft(5000);
    w->setTop(3000);
    int moves = 0;
    struct Counter : QObject {
        int* n;
        explicit Counter(int* c) : n(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Move || e->type() == QEvent::Resize)
                ++*n;
            return false;
        }
    } counter(&moves);
    w->installEventFilter(&counter);
    poll(10);
    w->removeEventFilter(&counter);
    EXPECT_EQ(moves, 0);
}

// ---- buttons -------------------------------------------------------------------------

TEST_F(PollFixture, DrawButtonIsEnabledAgainOnTheTickAfterStop) {
    w->control<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("05"));
    button("Command1")->click();
    ASSERT_EQ(state().countdownState, AppState::Running);
    EXPECT_FALSE(button("Command5")->isEnabled());
    poll();
    EXPECT_FALSE(button("Command5")->isEnabled()) << "not while counting";

    h.fake.messages.answers.push_back(platform::MessageBoxes::Answer::Yes);
    button("Command3")->click();
    ASSERT_EQ(state().countdownState, AppState::Idle);
    poll();
    EXPECT_TRUE(button("Command5")->isEnabled());
}

TEST_F(PollFixture, ShrinkStaysDisabledWhileEitherAlertSequenceRuns) {
    struct Case {
        bool reminder, timeUp;
    } cases[] = {{true, false}, {false, true}, {true, true}};
    for (const Case& c : cases) {
        button("Command4")->setEnabled(false);
        w->timer(QStringLiteral("Timer4"))->setEnabled(c.reminder);
        w->timer(QStringLiteral("Timer3"))->setEnabled(c.timeUp);
        poll(3);
        EXPECT_FALSE(button("Command4")->isEnabled()) << c.reminder << c.timeUp;
        w->timer(QStringLiteral("Timer4"))->setEnabled(false);
        w->timer(QStringLiteral("Timer3"))->setEnabled(false);
        poll();
        EXPECT_TRUE(button("Command4")->isEnabled()) << "first tick after both ended";
    }
}

// ---- F9 ------------------------------------------------------------------------------

TEST_F(PollFixture, F9WithTheToolbarShownBringsTheMainWindowBackCentred) {
    poll(); // enables Shrink
    w->setLeft(1234);
    w->setTop(5678);
    button("Command4")->click();
    ASSERT_FALSE(w->isVisible());
    ASSERT_TRUE(toolbar().isVisible());
    ASSERT_TRUE(h.ctx().forms.ref(FormId::Form2));
    state().dockedTop = 1;

    h.fake.keys.held.insert(f9);
    poll();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Left(), (sw() - 5700) / 2);
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_FALSE(toolbar().isVisible());
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form2)) << "the launcher is closed";
    EXPECT_EQ(state().dockedTop + state().dockedLeft + state().dockedRight, 0);
    EXPECT_FALSE(toolbar().timer(QStringLiteral("Timer1"))->enabled())
        << "the first test hid the shown toolbar and stopped its text";
}

TEST_F(PollFixture, F9WhileEverythingIsHiddenLeavesTheToolbarTextRunning) {
    w->hide();
    toolbar().hide();
    toolbar().timer(QStringLiteral("Timer1"))->setEnabled(false);
    h.fake.keys.held.insert(f9);
    poll();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(toolbar().isVisible());
    EXPECT_TRUE(toolbar().timer(QStringLiteral("Timer1"))->enabled());
}

TEST_F(PollFixture, F9PutsTheToolbarBackInItsCompactForm) {
    Form& bar = toolbar();
    bar.setHeight(2265);
    bar.setWindowTitle(QStringLiteral("hint panel caption"));
    bar.controlWidget(QStringLiteral("Frame1"))->show();
    bar.controlWidget(QStringLiteral("Label1"))->hide();
    bar.show();
    h.fake.keys.held.insert(f9);
    poll();
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(bar.Height(), 510);
    EXPECT_TRUE(bar.windowTitle().isEmpty());
    EXPECT_FALSE(bar.controlWidget(QStringLiteral("Frame1"))->isVisibleTo(&bar));
    EXPECT_TRUE(bar.controlWidget(QStringLiteral("Label1"))->isVisibleTo(&bar));
}

TEST_F(PollFixture, HoldingF9KeepsTheWindowCentredUntilReleased) {
    h.fake.keys.held.insert(f9);
    for (int i = 0; i < 3; ++i) {
        w->setLeft(300 + i);
        w->setTop(7000);
        poll();
        EXPECT_EQ(w->Left(), (sw() - 5700) / 2) << i;
        EXPECT_EQ(w->Top(), 2000) << i;
    }
    h.fake.keys.held.clear();
    w->setLeft(3000);
    w->setTop(7000);
    poll();
    EXPECT_EQ(w->Left(), 3000);
    EXPECT_EQ(w->Top(), 7000);
}

TEST_F(PollFixture, OtherKeysAreNotTheHotKey) {
    w->hide();
    h.fake.keys.held = {0x77, 0x79}; // F8, F10
    poll();
    EXPECT_FALSE(w->isVisible());
}

// ---- Shrink --------------------------------------------------------------------------

TEST_F(PollFixture, ShrinkHandsOverToTheToolbarCentredOverTheMainWindow) {
    h.fake.windows.windowTitles = {QStringLiteral("讲稿.ppt - Microsoft PowerPoint")};
    poll();
    ASSERT_TRUE(state().presentationSeen);
    w->setLeft(3000);
    w->setTop(4000);
    state().dockedRight = 1;
    // Titles change after the last walk: Shrink matches what was collected, it does not walk.
    h.fake.windows.windowTitles.clear();
    state().presentationSeen = false;
    state().topmostRequest = QStringLiteral("N");
    const int walks = h.fake.windows.walks;

    button("Command4")->click();
    EXPECT_EQ(h.fake.windows.walks, walks);
    EXPECT_TRUE(state().presentationSeen);
    EXPECT_FALSE(state().slideShowSeen);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(state().dockedTop + state().dockedLeft + state().dockedRight, 0);
    Form& bar = toolbar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.Left(), 3000 + (5700 - bar.Width()) / 2);
    EXPECT_EQ(bar.Top(), 4000);
    EXPECT_EQ(bar.Height(), 510);
    EXPECT_TRUE(bar.timer(QStringLiteral("Timer1"))->enabled());
    EXPECT_TRUE(bar.timer(QStringLiteral("Timer2"))->enabled());

    // The next tick finds the toolbar's request and the main window hidden: nothing on top.
    h.fake.placement.topmostCalls.clear();
    poll();
    for (QWidget* target : h.fake.placement.topmostCalls)
        EXPECT_NE(target, w);
}

// ---- title scan ----------------------------------------------------------------------

TEST_F(PollFixture, TitleScanFillsTheHiddenListAndSetsTheFlags) {
    h.fake.windows.windowTitles = {QStringLiteral("Terminal"), QString(), QStringLiteral("PowerPoint 幻灯片放映 - [讲稿.ppt]"),
                                   QStringLiteral("讲稿.ppt - microsoft PowerPoint"), QString()};
    poll();
    auto* combo = w->control<QComboBox>(QStringLiteral("Combo1"));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isVisibleTo(w));
    ASSERT_EQ(combo->count(), 3) << "untitled windows are skipped";
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Terminal"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("PowerPoint 幻灯片放映 - [讲稿.ppt]"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("讲稿.ppt - microsoft PowerPoint"));
    EXPECT_TRUE(state().slideShowSeen);
    EXPECT_TRUE(state().presentationSeen);

    h.fake.windows.windowTitles = {QStringLiteral("Terminal")};
    poll();
    EXPECT_EQ(combo->count(), 1);
    EXPECT_FALSE(state().slideShowSeen) << "no presentation program: both false on the next tick";
    EXPECT_FALSE(state().presentationSeen);
}

TEST_F(PollFixture, FlagsAreRecomputedEveryTickEvenWhenTheTitlesStayTheSame) {
    h.fake.windows.windowTitles = {QStringLiteral("Presenting: 讲稿.odp"), QStringLiteral("讲稿.odp - LibreOffice Impress")};
    poll();
    ASSERT_TRUE(state().slideShowSeen && state().presentationSeen);
    state().resetToStartup(); // as start-up does
    poll();
    EXPECT_TRUE(state().slideShowSeen);
    EXPECT_TRUE(state().presentationSeen);
}

TEST_F(PollFixture, TheProgramsOwnWindowsNeverCount) {
    h.fake.windows.windowTitles = {QStringLiteral("Microsoft PowerPoint 指南 - Kelvora工具"),
                                   QStringLiteral("Presenting: own"), QStringLiteral("Terminal")};
    h.fake.windows.ownWindows = {0, 1};
    poll();
    EXPECT_EQ(w->control<QComboBox>(QStringLiteral("Combo1"))->count(), 3) << "listed all the same";
    EXPECT_FALSE(state().presentationSeen);
    EXPECT_FALSE(state().slideShowSeen);
    h.fake.windows.ownWindows = {1};
    poll();
    EXPECT_TRUE(state().presentationSeen);
    EXPECT_FALSE(state().slideShowSeen);
}

// ---- closing the player's presentation -----------------------------------------------

TEST_F(PollFixture, DoubleClickOnTheHintInShortLayoutOnlySetsTheHeight) {
    w->setHeight(3465);
    pointer::doubleClick(w->controlWidget(QStringLiteral("Label9")));
    EXPECT_EQ(w->Height(), 2850);
    EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
    EXPECT_EQ(player.loads, 0) << "no player is opened";
    EXPECT_EQ(player.closes, 0);
}

TEST_F(PollFixture, DoubleClickOnTheHintInTallLayoutClosesThePlayerOffScreenFirst) {
    h.ctx().forms.ref(FormId::Form8);
    state().layoutMode = QStringLiteral("H");
    w->applyLayoutHeight();
    ASSERT_EQ(w->Height(), 3465);
    pointer::doubleClick(w->controlWidget(QStringLiteral("Label9")));
    EXPECT_EQ(player.closes, 1);
    EXPECT_EQ(player.mainHeightAtClose, 3465) << "the close action runs before the window shrinks";
    EXPECT_EQ(player.topAtClose, -2000) << "shown above the screen";
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form8));
    EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
    EXPECT_EQ(w->Height(), 2850);
}

TEST_F(PollFixture, TallLayoutWithoutAnOpenPlayerOpensItAndClosesItTheSameWay) {
    state().layoutMode = QStringLiteral("H");
    pointer::doubleClick(w->controlWidget(QStringLiteral("Label9")));
    EXPECT_EQ(player.loads, 1);
    EXPECT_EQ(player.closes, 1);
    EXPECT_EQ(w->Height(), 2850);
    EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
}

} // namespace
