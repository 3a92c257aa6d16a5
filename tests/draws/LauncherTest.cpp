#include "DrawsFixture.h"

#include "core/SetNumber.h"
#include "draws/DrawsWiring.h"

#include <QDir>

#include <QTest>
#include <functional>

namespace {

class LauncherTest : public DrawsFixture {
protected:
    void SetUp() override {
        DrawsFixture::SetUp();
        presentationProgramRuns(false);
        l = openLauncher();
        ASSERT_NE(l, nullptr);
    }
    QLineEdit* count() { return l->control<QLineEdit>(QStringLiteral("Text2")); }
    draws::DrawLauncher* l = nullptr;
};

TEST_F(LauncherTest, TheOrderNumberButtonRevealsTheCountBox) {
    button(l, "Command11")->click();
    EXPECT_FALSE(shown(l, "Frame3"));
    EXPECT_EQ(l->Height(), 2955);
    EXPECT_EQ(l->controlWidget(QStringLiteral("Frame1"))->height(), 2460 / 15);
    for (const char* name : {"Label6", "Text2", "Command5", "Command6", "Label5"})
        EXPECT_TRUE(shown(l, name)) << name;
    for (const char* name : {"Label7", "Command8", "Command9"})
        EXPECT_FALSE(shown(l, name)) << name;
    EXPECT_EQ(count()->text(), QStringLiteral("5"));
    EXPECT_EQ(count()->maxLength(), 3);
    EXPECT_TRUE(hasDigitsOnlyStyle(count()));
    EXPECT_EQ(label(l, "Label6")->text(), QStringLiteral("请输入抽签总人数："));
    EXPECT_EQ(label(l, "Label5")->text(), QStringLiteral("提示：抽签总人数必须为数值，控制在2-600人之内"));
}

TEST_F(LauncherTest, ConfirmClampsTheCountIntoTheDrawTotalAndOpensTheDraw) {
    const struct {
        const char* entry;
        float total;
    } cases[] = {{"", 2}, {"0", 2}, {"1", 2}, {"999", 600}, {"600", 600}, {"30", 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        forms().unload(FormId::Form2);
        forms().unload(FormId::Form7);
        main->show();
        draws::OrderDraw* d = openOrderDraw(QString::fromLatin1(c.entry));
        EXPECT_EQ(state().drawTotal, c.total);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->count(), static_cast<int>(c.total));
        EXPECT_EQ(d->windowTitle(), main->windowTitle());
        ASSERT_NE(launcher(), nullptr) << "hidden, still loaded";
        EXPECT_FALSE(launcher()->isVisible());
        EXPECT_FALSE(launcher()->timer(QStringLiteral("Timer1"))->enabled());
        EXPECT_FALSE(main->isVisible());
    }
}

// The user's paths refuse letters outright; text that still gets in (set by the program)
// meets the field's own check, which beeps, shows the hint and sends Backspace per failure.
TEST_F(LauncherTest, TheCountCheckBeepsShowsTheHintAndTakesBackWhatGotIn) {
    const struct {
        const char* text;
        int beeps;
        const char* left;
    } cases[] = {{"12a", 2, "12"}, {"a", 4, ""}, {"42", 0, "42"}};
    button(l, "Command11")->click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        h.fake.chores.beeps = 0;
        l->controlWidget(QStringLiteral("Label5"))->hide();
        count()->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(h.fake.chores.beeps, c.beeps);
        EXPECT_EQ(shown(l, "Label5"), c.beeps > 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(count()->text(), QString::fromLatin1(c.left));
        EXPECT_EQ(h.fake.chores.beeps, c.beeps) << "the corrected text passes";
    }
}

TEST_F(LauncherTest, TypedLettersNeverGetInAndDigitsPassSilently) {
    button(l, "Command11")->click();
    count()->clear();
    QTest::keyClicks(count(), QStringLiteral("4x2"));
    EXPECT_EQ(count()->text(), QStringLiteral("42"));
    EXPECT_EQ(h.fake.chores.beeps, 0);
}

TEST_F(LauncherTest, EveryWayBackEnablesThePollAndShowsTheMainWindow) {
    const struct Way {
        const char* name;
        std::function<void()> go;
        bool staysLoaded;
    } ways[] = {
        {"取消", [this] { button(l, "Command11")->click(); button(l, "Command6")->click(); }, false},
        {"返回", [this] {
             QWidget* back = l->controlWidget(QStringLiteral("Label1"));
             pointer::press(back);
             pointer::release(back);
         }, true},
        {"picture", [this] {
             QWidget* back = l->controlWidget(QStringLiteral("Image1"));
             pointer::press(back);
             pointer::release(back);
         }, true},
        {"结束抽签", [this] {
             button(l, "Command11")->click();
             button(l, "Command5")->click();
             button(orderDraw(), "Command7")->click();
             button(launcher(), "Command8")->click();
         }, false},
        {"slide draw refused", [this] {
             presentationProgramRuns(true);
             button(l, "Command12")->click();
         }, true},
        {"instructions one refused", [this] {
             presentationProgramRuns(true);
             button(l, "Command1")->click();
         }, true},
        {"instructions two refused", [this] {
             presentationProgramRuns(true);
             button(l, "Command2")->click();
         }, true},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        forms().unload(FormId::Form2);
        forms().unload(FormId::Form7);
        main->show();
        presentationProgramRuns(false);
        l = openLauncher();
        ASSERT_NE(l, nullptr);
        ASSERT_FALSE(pollOn());
        ASSERT_FALSE(main->isVisible());
        auto& office = h.office.world();
        ASSERT_EQ(office.warmUps.value(office.warmUps.size() - 1), vexlo::office::OfficeKind::Presentation)
            << "the menu starts the presentation program ahead";
        const int dropped = office.warmDrops;

        way.go();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_GT(office.warmDrops, dropped) << "the program nobody took is ended";
        EXPECT_TRUE(pollOn());
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(forms().isLoaded(FormId::Form2), way.staysLoaded);
        if (launcher()) {
            EXPECT_FALSE(launcher()->isVisible());
            EXPECT_FALSE(launcher()->timer(QStringLiteral("Timer1"))->enabled());
        }
        EXPECT_FALSE(forms().isLoaded(FormId::Form7));
    }
}

TEST_F(LauncherTest, BackCentresTheMainWindowAtTwoThousand) {
    main->setLeft(100);
    main->setTop(5000);
    pointer::press(l->controlWidget(QStringLiteral("Label1")));
    pointer::release(l->controlWidget(QStringLiteral("Label1")));
    EXPECT_EQ(main->Top(), 2000);
    EXPECT_EQ(main->Left(), (main->screenWidth() - main->Width()) / 2);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("N"));
}

TEST_F(LauncherTest, CancelUnloadsSoTheNextOpeningStartsAfresh) {
    button(l, "Command11")->click();
    count()->setText(QStringLiteral("42"));
    button(l, "Command6")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(count()->text(), QStringLiteral("5"));
    EXPECT_TRUE(shown(l, "Frame3"));
    EXPECT_EQ(l->Height(), 6585);
    EXPECT_TRUE(hasDigitsOnlyStyle(count())) << "a reloaded launcher keeps the digits-only entry";
}

TEST_F(LauncherTest, ThePresentationButtonsTellWhyTheyRefuse) {
    const struct {
        const char* button;
        QString text;
    } cases[] = {
        {"Command1", QStringLiteral("\r   当前已打开一个PPT文件，需关闭该PPT文件才能进行抽签操作！   \r\n\r\n"
                                    "   \u3000\u3000\u3000\u3000\u3000确认后将回到主界面！")},
        {"Command2", QStringLiteral("\r  当前已打开一个PPT文件，需关闭该PPT文件才能进行抽签操作！    \r\n\r\n"
                                    "       \u3000\u3000\u3000确认后将回到主界面！")},
        {"Command12", QStringLiteral("\r  当前已打开一个PPT文件，需关闭该PPT文件才能进行抽签操作！    \r\n\r\n"
                                     "  \u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000确认后将回到主界面！")},
    };
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form5, log);
    registerProbe(forms(), FormId::Form8, log);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        l = openLauncher();
        h.fake.messages.shown.clear();
        presentationProgramRuns(true);
        button(l, c.button)->click();
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_FALSE(h.fake.messages.shown[0].question);
        EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
        EXPECT_EQ(h.fake.messages.shown[0].text, c.text);
        EXPECT_TRUE(main->isVisible());
        EXPECT_FALSE(l->isVisible());
        presentationProgramRuns(false);
    }
    EXPECT_TRUE(log.empty()) << "nothing was started";
}

TEST_F(LauncherTest, KeepsItselfOnTheScreen) {
    const int sw = l->screenWidth(), sh = l->screenHeight();
    const struct {
        int left, top, wantLeft, wantTop;
    } cases[] = {
        {-300, -200, 0, 0},
        {sw, 1000, sw - l->Width(), 1000},
        {1500, sh, 1500, sh - l->Height()},
        {1500, 1000, 1500, 1000},
    };
    for (const auto& c : cases) {
        l->setLeft(c.left);
        l->setTop(c.top);
        h.tick(*l, QStringLiteral("Timer1"));
        EXPECT_EQ(l->Left(), c.wantLeft) << c.left;
        EXPECT_EQ(l->Top(), c.wantTop) << c.top;
    }
}

TEST_F(LauncherTest, DraggedPartlyOffTheTopLeftItSnapsBackOnTheNextTick) {
    l->setLeft(300);
    l->setTop(300);
    QWidget* heading = l->controlWidget(QStringLiteral("Label8"));
    pointer::press(heading, {10, 10});
    pointer::dragTo(heading, {-30, -40});
    pointer::release(heading, {-30, -40});
    EXPECT_EQ(l->Left(), 300 - 40 * 15);
    EXPECT_EQ(l->Top(), 300 - 50 * 15);
    h.tick(*l, QStringLiteral("Timer1"));
    EXPECT_EQ(l->Left(), 0);
    EXPECT_EQ(l->Top(), 0);
}

TEST_F(LauncherTest, DraggedByItsFramesNotByItsButtons) {
    l->setLeft(3000);
    QWidget* frame = l->controlWidget(QStringLiteral("Frame5"));
    pointer::press(frame, {5, 5});
    pointer::dragTo(frame, {25, 5});
    pointer::release(frame, {25, 5});
    EXPECT_EQ(l->Left(), 3000 + 20 * 15);
    QWidget* b = l->controlWidget(QStringLiteral("Command11"));
    pointer::press(b, {5, 5});
    pointer::dragTo(b, {25, 5});
    EXPECT_EQ(l->Left(), 3000 + 20 * 15);
}

TEST_F(LauncherTest, HoverGivesAButtonTheFocus) {
    for (const char* name : {"Command11", "Command10", "Command1", "Command12"}) {
        pointer::moveOver(l->controlWidget(QLatin1String(name)));
        EXPECT_EQ(l->focusWidget(), l->controlWidget(QLatin1String(name))) << name;
    }
}

TEST_F(LauncherTest, NameListButtonsOpenTheirWindowCentred) {
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form4, log, 6000);
    registerProbe(forms(), FormId::Form9, log, 7000);
    for (auto [name, id] : {std::pair{"Command10", FormId::Form4}, std::pair{"Command3", FormId::Form9}}) {
        SCOPED_TRACE(name);
        l = openLauncher();
        state().topmostRequest = QStringLiteral("N");
        button(l, name)->click();
        Form* w = forms().loaded(id);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowTitle(), main->windowTitle());
        EXPECT_EQ(w->Top(), (w->screenHeight() - w->Height()) / 2);
        EXPECT_EQ(w->Left(), (w->screenWidth() - w->Width()) / 2);
        EXPECT_FALSE(l->isVisible());
        EXPECT_FALSE(l->timer(QStringLiteral("Timer1"))->enabled());
        EXPECT_FALSE(main->isVisible()) << "the draw window brings it back when it closes";
        EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
        w->hide();
        main->show();
    }
}

TEST_F(LauncherTest, TheSlideDrawOpensBelowTheMainWindowsTop) {
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form5, log, 5000);
    main->setTop(2600);
    main->setHeight(3465);
    button(l, "Command12")->click();
    Form* slides = forms().loaded(FormId::Form5);
    ASSERT_NE(slides, nullptr);
    EXPECT_TRUE(slides->isVisible());
    EXPECT_EQ(slides->windowTitle(), main->windowTitle());
    EXPECT_EQ(slides->Top(), 2600);
    EXPECT_EQ(slides->Left(), (slides->screenWidth() - slides->Width()) / 2);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->Height(), 2850);
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(state().playerCloseMode, QStringLiteral("Y"));
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
}

TEST_F(LauncherTest, TheInstructionsPlayInTheOffScreenPlayerBesideTheTallMainWindow) {
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form8, log);
    main->timer(QStringLiteral("Timer2"))->setEnabled(false);
    button(l, "Command1")->click();
    Form* player = forms().loaded(FormId::Form8);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("load Form8 Note1.PPT")}));
    EXPECT_EQ(player->Top(), -2000);
    EXPECT_FALSE(player->isVisible()) << "a window manager would pull it onto the screen";
    EXPECT_EQ(state().layoutMode, QStringLiteral("H"));
    EXPECT_EQ(state().playerCloseMode, QStringLiteral("N"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->Height(), 3465);
    EXPECT_EQ(main->Top(), 2000);
    EXPECT_TRUE(shown(main, "Frame4"));
    EXPECT_TRUE(pollOn());
    EXPECT_FALSE(l->isVisible());
}

TEST_F(LauncherTest, WhileAnInstructionPresentationShowsTheNextButtonClosesItFirst) {
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form8, log);
    registerProbe(forms(), FormId::Form5, log);
    button(l, "Command2")->click();
    ASSERT_EQ(state().layoutMode, QStringLiteral("H"));
    presentationProgramRuns(true); // the shown presentation: no refusal in "H"

    l = openLauncher();
    EXPECT_TRUE(h.fake.messages.shown.empty());
    button(l, "Command1")->click();
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("load Form8 Note2.PPT"), QStringLiteral("close Form8"),
                                         QStringLiteral("load Form8 Note1.PPT")}));
    EXPECT_EQ(state().layoutMode, QStringLiteral("H"));

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    l = openLauncher();
    button(l, "Command12")->click();
    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_EQ(log.back(), QStringLiteral("load Form5 Note1.PPT"));
    EXPECT_EQ(log[log.size() - 2], QStringLiteral("close Form8"));
    EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
    EXPECT_EQ(state().playerCloseMode, QStringLiteral("Y"));
    EXPECT_FALSE(forms().isLoaded(FormId::Form8));
    EXPECT_TRUE(forms().loaded(FormId::Form5)->isVisible());
}

// Only the main window and this subsystem's windows are built in, as before the other
// draws arrive: their buttons must leave the menu as it is. (The slide draw and the player
// are this subsystem's own and open; their tests are in SlideDrawTest and PlayerTest.)
class BareLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ctx.forms.setFactory(FormId::Form1, [](AppContext& c) {
            auto window = std::make_unique<MainWindow>(c);
            draws::attachToMainWindow(*window);
            return window;
        });
        draws::registerWindows(ctx.forms);
        main = &ctx.forms.ref<MainWindow>();
        main->show();
        auto* draw = main->control<QPushButton>(QStringLiteral("Command5"));
        draw->setEnabled(true);
        draw->click();
        l = qobject_cast<draws::DrawLauncher*>(ctx.forms.loaded(FormId::Form2));
        ASSERT_NE(l, nullptr);
        ASSERT_TRUE(l->isVisible());
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    platform::FakePlatform fake;
    AppContext ctx{fake.platform, QDir::tempPath()};
    MainWindow* main = nullptr;
    draws::DrawLauncher* l = nullptr;
};

TEST_F(BareLauncherTest, ButtonsOfWindowsNotBuiltInLeaveTheMenuAsItIs) {
    for (const char* name : {"Command10", "Command3"}) {
        SCOPED_TRACE(name);
        l->control<QPushButton>(QLatin1String(name))->click();
        EXPECT_TRUE(l->isVisible());
        EXPECT_TRUE(l->timer(QStringLiteral("Timer1"))->enabled());
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(ctx.state.layoutMode, QStringLiteral("S"));
        EXPECT_EQ(main->Height(), 2850);
        for (FormId id : {FormId::Form4, FormId::Form5, FormId::Form8, FormId::Form9})
            EXPECT_FALSE(ctx.forms.isLoaded(id));
    }
    // And the way back still works.
    pointer::press(l->controlWidget(QStringLiteral("Label1")));
    pointer::release(l->controlWidget(QStringLiteral("Label1")));
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->timer(QStringLiteral("Timer2"))->enabled());
}

} // namespace
