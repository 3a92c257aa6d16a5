#include "DrawsFixture.h"

#include <QApplication>
#include <set>

namespace {

class OrderDrawTest : public DrawsFixture {
protected:
    void open(const QString& count) {
        presentationProgramRuns(false);
        d = openOrderDraw(count);
        ASSERT_NE(d, nullptr);
    }
    QString figure() { return label(d, "Label1")->text(); }
    QString list() { return d->control<QLineEdit>(QStringLiteral("Text1"))->text(); }
    bool enabled(const char* name) { return button(d, name)->isEnabled(); }
    bool rolling() { return d->timer(QStringLiteral("Timer1"))->enabled(); }
    // "抽  签", then "下一个" unless the round just ended; the number drawn.
    int drawAndArm() {
        button(d, "Command1")->click();
        const int n = figure().toInt();
        if (enabled("Command2"))
            button(d, "Command2")->click();
        return n;
    }
    int mainPlayer() { return 1; } // the main window's player is the first one made
    std::vector<platform::FakeSoundPlayers::Command> soundsSince(size_t from) {
        return {h.fake.sounds.log.begin() + static_cast<std::ptrdiff_t>(from), h.fake.sounds.log.end()};
    }

    draws::OrderDraw* d = nullptr;
};

TEST_F(OrderDrawTest, OpensRollingWithTheHeadingAndTheStartSound) {
    main->setTop(2700);
    const size_t before = h.fake.sounds.log.size();
    open(QStringLiteral("30"));
    EXPECT_EQ(label(d, "Label4")->text(), QStringLiteral("抽签总人数为30人，已抽出顺序号如下："));
    EXPECT_EQ(label(d, "Label2")->text(), QStringLiteral("请点击“抽签”按钮开始抽签"));
    EXPECT_EQ(button(d, "Command2")->text(), QStringLiteral("下一个"));
    EXPECT_TRUE(enabled("Command1"));
    EXPECT_FALSE(enabled("Command2"));
    EXPECT_FALSE(enabled("Command4"));
    EXPECT_TRUE(enabled("Command7"));
    EXPECT_FALSE(shown(d, "Label3"));
    EXPECT_TRUE(rolling());
    EXPECT_EQ(list(), QString());
    EXPECT_EQ(d->Top(), 2700) << "the launcher's Top, which followed the main window";
    EXPECT_EQ(d->Left(), (d->screenWidth() - d->Width()) / 2);
    EXPECT_EQ(d->windowTitle(), main->windowTitle());
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    EXPECT_EQ(d->focusWidget(), d->controlWidget(QStringLiteral("Command1")));

    const auto sounds = soundsSince(before);
    ASSERT_EQ(sounds.size(), 4u);
    EXPECT_EQ(sounds[0].player, mainPlayer());
    EXPECT_EQ(sounds[0].command, QStringLiteral("Close"));
    const int own = sounds[1].player;
    EXPECT_NE(own, mainPlayer());
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(sounds[i].player, own);
        EXPECT_EQ(sounds[i].fileName, QStringLiteral("start.wav"));
    }
    EXPECT_EQ(sounds[1].command, QStringLiteral("Close"));
    EXPECT_EQ(sounds[2].command, QStringLiteral("Open"));
    EXPECT_EQ(sounds[3].command, QStringLiteral("PLAY"));
}

TEST_F(OrderDrawTest, TheBigNumberIsRedBoldAndHuge) {
    open(QStringLiteral("5"));
    const QFont font = label(d, "Label1")->font();
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 350.25);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.families().value(0), QStringLiteral("Times New Roman"));
    EXPECT_EQ(label(d, "Label1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label(d, "Label1")->size(), QSize(10770 / 15, 6615 / 15));
}

TEST_F(OrderDrawTest, RollingShowsAnyNumberOfTheRound) {
    open(QStringLiteral("3"));
    std::set<QString> seen;
    for (int i = 0; i < 300; ++i) {
        h.tick(*d, QStringLiteral("Timer1"));
        seen.insert(figure());
    }
    EXPECT_EQ(seen, (std::set<QString>{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST_F(OrderDrawTest, ARoundOfTwoEndsWithTheDingAndOnlyNextRoundEnabled) {
    open(QStringLiteral("2"));
    button(d, "Command1")->click();
    const int first = figure().toInt();
    EXPECT_TRUE(first == 1 || first == 2);
    EXPECT_EQ(label(d, "Label2")->text(), QStringLiteral("您抽取的顺序号为:"));
    EXPECT_TRUE(shown(d, "Label2"));
    EXPECT_FALSE(rolling());
    EXPECT_FALSE(enabled("Command1"));
    EXPECT_TRUE(enabled("Command2"));
    EXPECT_EQ(d->focusWidget(), button(d, "Command2"));
    EXPECT_EQ(d->Height(), 8865);
    EXPECT_FALSE(shown(d, "Label3"));

    button(d, "Command2")->click();
    EXPECT_EQ(label(d, "Label2")->text(), QStringLiteral("请点击“抽签”按钮"));
    EXPECT_TRUE(enabled("Command1"));
    EXPECT_FALSE(enabled("Command2"));
    EXPECT_TRUE(rolling());

    const size_t before = h.fake.sounds.log.size();
    button(d, "Command1")->click();
    const int second = figure().toInt();
    EXPECT_EQ(first + second, 3);
    EXPECT_EQ(list(), QStringLiteral("%1，%2").arg(first).arg(second));
    EXPECT_TRUE(shown(d, "Label3"));
    EXPECT_EQ(label(d, "Label3")->text(), QStringLiteral("本轮抽签结束！"));
    EXPECT_FALSE(shown(d, "Label2"));
    EXPECT_FALSE(enabled("Command1"));
    EXPECT_FALSE(enabled("Command2"));
    EXPECT_TRUE(enabled("Command4"));
    EXPECT_TRUE(enabled("Command7"));
    EXPECT_EQ(d->pool().undrawnCount(), 2) << "refilled for the next round";
    const auto sounds = soundsSince(before);
    ASSERT_EQ(sounds.size(), 4u);
    EXPECT_EQ(sounds[0].player, mainPlayer());
    EXPECT_EQ(sounds[0].command, QStringLiteral("Close"));
    EXPECT_EQ(h.fake.sounds.played().back(), QStringLiteral("ding.wav"));
}

TEST_F(OrderDrawTest, SixHundredDrawsGiveSixHundredDifferentNumbers) {
    open(QStringLiteral("999")); // clamped to 600
    ASSERT_EQ(d->count(), 600);
    std::vector<int> drawn;
    for (int i = 0; i < 600; ++i) {
        ASSERT_FALSE(shown(d, "Label3")) << "the round ended early, after " << i;
        ASSERT_TRUE(enabled("Command1"));
        drawn.push_back(drawAndArm());
    }
    EXPECT_TRUE(shown(d, "Label3"));
    EXPECT_TRUE(enabled("Command4"));
    EXPECT_FALSE(enabled("Command1"));
    EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()).size(), 600u);
    EXPECT_EQ(*std::min_element(drawn.begin(), drawn.end()), 1);
    EXPECT_EQ(*std::max_element(drawn.begin(), drawn.end()), 600);
    QStringList expected;
    for (int n : drawn)
        expected << QString::number(n);
    EXPECT_EQ(list(), expected.join(QStringLiteral("，")));
    EXPECT_EQ(d->control<QLineEdit>(QStringLiteral("Text1"))->cursorPosition(), list().size())
        << "the newest number is in view";
}

TEST_F(OrderDrawTest, ALargerHandedOverTotalDrawsSixHundred) {
    state().drawTotal = 5000.0f;
    auto* draw = qobject_cast<draws::OrderDraw*>(forms().ref(FormId::Form7));
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->count(), 600);
    EXPECT_EQ(label(draw, "Label4")->text(), QStringLiteral("抽签总人数为600人，已抽出顺序号如下："));
}

TEST_F(OrderDrawTest, TheListReadsWithFullWidthCommasAndNoBlanks) {
    open(QStringLiteral("3"));
    const int a = drawAndArm(), b = drawAndArm(), c = drawAndArm();
    EXPECT_EQ(list(), QStringLiteral("%1，%2，%3").arg(a).arg(b).arg(c));
    EXPECT_FALSE(list().contains(u' '));
    EXPECT_TRUE(d->control<QLineEdit>(QStringLiteral("Text1"))->isReadOnly());
}

TEST_F(OrderDrawTest, NextRoundEmptiesTheListAndRollsFromZero) {
    open(QStringLiteral("2"));
    drawAndArm();
    drawAndArm();
    ASSERT_TRUE(enabled("Command4"));
    button(d, "Command4")->click();
    EXPECT_EQ(list(), QString());
    EXPECT_EQ(figure(), QStringLiteral("0"));
    EXPECT_TRUE(shown(d, "Label2"));
    EXPECT_EQ(label(d, "Label2")->text(), QStringLiteral("请点击“抽签”按钮开始抽签"));
    EXPECT_FALSE(shown(d, "Label3"));
    EXPECT_FALSE(enabled("Command4"));
    EXPECT_TRUE(enabled("Command1"));
    EXPECT_FALSE(enabled("Command2"));
    EXPECT_EQ(d->focusWidget(), button(d, "Command1"));
    EXPECT_TRUE(rolling());
    const int a = drawAndArm(), b = drawAndArm();
    EXPECT_EQ(a + b, 3) << "the new round draws every number again";
    EXPECT_EQ(list(), QStringLiteral("%1，%2").arg(a).arg(b));
}

TEST_F(OrderDrawTest, FinishAsksInTheLauncherAtAnyMoment) {
    const struct {
        const char* when;
        int draws; // before "结  束"
        bool rollingAfter;
    } moments[] = {{"right after opening", 0, true}, {"mid-round", 2, false}, {"after the round", 4, false}};
    for (const auto& m : moments) {
        SCOPED_TRACE(m.when);
        forms().unload(FormId::Form2);
        forms().unload(FormId::Form7);
        main->show();
        open(QStringLiteral("4"));
        for (int i = 0; i < m.draws; ++i)
            button(d, "Command1")->click(), (i + 1 < m.draws ? button(d, "Command2")->click() : void());
        const size_t before = h.fake.sounds.log.size();

        button(d, "Command7")->click();

        EXPECT_EQ(h.fake.sounds.played().back(), QStringLiteral("start.wav"));
        EXPECT_EQ(soundsSince(before).front().player, mainPlayer());
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(rolling(), m.rollingAfter) << "the animation keeps its state";
        draws::DrawLauncher* l = launcher();
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(l->isVisible());
        EXPECT_TRUE(l->timer(QStringLiteral("Timer1"))->enabled());
        for (const char* name : {"Label7", "Command8", "Command9"})
            EXPECT_TRUE(shown(l, name)) << name;
        for (const char* name : {"Command5", "Text2", "Frame4", "Frame3"})
            EXPECT_FALSE(shown(l, name)) << name;
        EXPECT_EQ(label(l, "Label7")->text(), QStringLiteral("\n本轮抽签还没有结束\n\n    您确实要退出抽签程序吗？"));
        EXPECT_EQ(button(l, "Command8")->text(), QStringLiteral("结束抽签"));
        EXPECT_EQ(button(l, "Command9")->text(), QStringLiteral("继续抽签"));
        EXPECT_FALSE(main->isVisible());

        button(l, "Command8")->click();
        EXPECT_TRUE(main->isVisible());
        EXPECT_TRUE(pollOn());
        EXPECT_FALSE(forms().isLoaded(FormId::Form7));
        EXPECT_FALSE(forms().isLoaded(FormId::Form2));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(OrderDrawTest, ContinueShowsTheDrawAgainUnchanged) {
    open(QStringLiteral("5"));
    drawAndArm();
    button(d, "Command1")->click(); // a number shown, "下一个" armed
    const QString listBefore = list(), figureBefore = figure();
    const int undrawnBefore = d->pool().undrawnCount();
    const bool drawOn = enabled("Command1"), nextOn = enabled("Command2"), roundOn = enabled("Command4");

    button(d, "Command7")->click();
    draws::DrawLauncher* l = launcher();
    button(l, "Command9")->click();

    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(l->isVisible());
    EXPECT_FALSE(l->timer(QStringLiteral("Timer1"))->enabled());
    for (const char* name : {"Label7", "Command8", "Command9"})
        EXPECT_FALSE(shown(l, name)) << name;
    EXPECT_EQ(list(), listBefore);
    EXPECT_EQ(figure(), figureBefore);
    EXPECT_EQ(d->pool().undrawnCount(), undrawnBefore);
    EXPECT_EQ(enabled("Command1"), drawOn);
    EXPECT_EQ(enabled("Command2"), nextOn);
    EXPECT_EQ(enabled("Command4"), roundOn);
    EXPECT_FALSE(main->isVisible());

    // The round goes on where it was.
    button(d, "Command2")->click();
    drawAndArm();
    drawAndArm();
    drawAndArm();
    EXPECT_TRUE(shown(d, "Label3"));
    EXPECT_EQ(list().split(QStringLiteral("，")).size(), 5);
}

TEST_F(OrderDrawTest, AFreshConfirmationReplacesADrawLeftBehind) {
    open(QStringLiteral("5"));
    drawAndArm();
    // F9 meanwhile: the poll closes the launcher and brings the main window back.
    forms().unload(FormId::Form2);
    main->show();
    d->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    open(QStringLiteral("7"));
    EXPECT_EQ(d->count(), 7);
    EXPECT_EQ(list(), QString());
}

TEST_F(OrderDrawTest, FinishOnAClosedLauncherStillShowsTheConfirmation) {
    open(QStringLiteral("5"));
    forms().unload(FormId::Form2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    button(d, "Command7")->click();
    draws::DrawLauncher* l = launcher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible());
    EXPECT_FALSE(shown(l, "Frame3")) << "the menu does not cover the question";
    EXPECT_TRUE(shown(l, "Command8"));
    EXPECT_EQ(l->Height(), 2955);
}

TEST_F(OrderDrawTest, HoverFocusesAButtonAndTheFigureDragsTheWindow) {
    open(QStringLiteral("5"));
    pointer::moveOver(button(d, "Command7"));
    EXPECT_EQ(d->focusWidget(), button(d, "Command7"));
    d->setLeft(1500);
    d->setTop(1500);
    QWidget* figureLabel = d->controlWidget(QStringLiteral("Label1"));
    pointer::press(figureLabel, {50, 50});
    pointer::dragTo(figureLabel, {60, 70});
    pointer::release(figureLabel, {60, 70});
    EXPECT_EQ(d->Left(), 1500 + 10 * 15);
    EXPECT_EQ(d->Top(), 1500 + 20 * 15);
}

} // namespace
