#include "DrawsFixture.h"

#include "draws/SlideDraw.h"
#include "office/fake/FakePresentation.h"

#include <QDir>
#include <set>

namespace {

using vexlo::office::FakePresentationApp;

class SlideDrawTest : public DrawsFixture {
protected:
    void givenSlides(int count) {
        h.office.world().writePresentationFile(QDir(h.folder()).filePath(QStringLiteral("MYPPT.ppt")), count);
    }
    // Menu, "PPT图文随机抽签": the strip that opened (or null).
    draws::SlideDraw* open() {
        presentationProgramRuns(false);
        draws::DrawLauncher* l = openLauncher();
        if (!l)
            return nullptr;
        button(l, "Command12")->click();
        s = qobject_cast<draws::SlideDraw*>(forms().loaded(FormId::Form5));
        return s;
    }
    FakePresentationApp* app() { return s ? dynamic_cast<FakePresentationApp*>(s->app().get()) : nullptr; }
    std::shared_ptr<vexlo::office::FakeShow> show() { return app() ? app()->lastShow() : nullptr; }
    QString box() { return s->control<QLineEdit>(QStringLiteral("Text1"))->text(); }
    bool flickering() { return s->timer(QStringLiteral("Timer1"))->enabled(); }
    bool enabled(const char* name) { return button(s, name)->isEnabled(); }
    // "准备", a few flicker ticks, "抽签": the slide drawn.
    int drawOne(int ticks = 3) {
        button(s, "Command3")->click();
        h.tick(*s, QStringLiteral("Timer1"), ticks);
        button(s, "Command4")->click();
        return s->pickedSlide();
    }
    size_t roundOverMessages() {
        size_t n = 0;
        for (const auto& m : h.fake.messages.shown)
            n += m.title == QStringLiteral("PPT随机抽签程序提示：") && m.text == QStringLiteral("      本轮抽签结束！！！  ");
        return n;
    }

    draws::SlideDraw* s = nullptr;
};

TEST_F(SlideDrawTest, LoadsTheShowAndFloatsTheStripCentredAtTheMainWindowsTop) {
    givenSlides(30);
    main->setTop(2400);
    ASSERT_NE(open(), nullptr);
    ASSERT_NE(show(), nullptr);
    EXPECT_TRUE(app()->isVisible());
    EXPECT_TRUE(show()->running);
    EXPECT_EQ(s->slideTotal(), 30);
    EXPECT_EQ(s->pool().count(), 30);
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("hide"));
    EXPECT_FALSE(h.fake.taskbar.visible);
    EXPECT_TRUE(s->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(s->Top(), 2400);
    EXPECT_EQ(s->Left(), (s->screenWidth() - s->Width()) / 2);
    EXPECT_EQ(s->windowTitle(), main->windowTitle());
    EXPECT_NE(std::find(h.fake.placement.topmostCalls.begin(), h.fake.placement.topmostCalls.end(), s),
              h.fake.placement.topmostCalls.end());
    EXPECT_EQ(box(), QStringLiteral("000/000"));
    EXPECT_TRUE(enabled("Command3"));
    EXPECT_FALSE(enabled("Command4"));
    EXPECT_TRUE(enabled("Command1"));
    EXPECT_FALSE(flickering());
    EXPECT_EQ(s->focusWidget(), s->controlWidget(QStringLiteral("Command3")));
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(SlideDrawTest, FlickerShowsRandomSlidesAndTheBoxSaysDrawing) {
    givenSlides(30);
    ASSERT_NE(open(), nullptr);
    button(s, "Command3")->click();
    EXPECT_TRUE(flickering());
    EXPECT_FALSE(enabled("Command3"));
    EXPECT_TRUE(enabled("Command4"));
    EXPECT_EQ(s->focusWidget(), s->controlWidget(QStringLiteral("Command4")));
    EXPECT_EQ(box(), QStringLiteral("正在抽签"));
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("hide"));
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        h.tick(*s, QStringLiteral("Timer1"));
        ASSERT_GE(s->rollingSlide(), 1);
        ASSERT_LE(s->rollingSlide(), 30);
        ASSERT_EQ(show()->position, s->rollingSlide()) << "each tick goes to its slide";
        seen.insert(s->rollingSlide());
    }
    EXPECT_GT(seen.size(), 20u) << "the flicker wanders over the slides";
}

TEST_F(SlideDrawTest, ThreeSlidesGiveThreeDifferentDrawsThenTheMessageAndANewRound) {
    givenSlides(3);
    ASSERT_NE(open(), nullptr);
    std::set<int> drawn;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        drawn.clear();
        for (int i = 1; i <= 3; ++i) {
            const int slide = drawOne();
            EXPECT_TRUE(drawn.insert(slide).second) << "slide " << slide << " twice in one round";
            EXPECT_EQ(show()->position, slide);
            EXPECT_EQ(box(), QStringLiteral("%1/3").arg(slide));
            EXPECT_FALSE(flickering());
            EXPECT_TRUE(enabled("Command3"));
            EXPECT_FALSE(enabled("Command4"));
            EXPECT_EQ(roundOverMessages(), static_cast<size_t>(round - 1 + (i == 3 ? 1 : 0)));
        }
        EXPECT_EQ(drawn, (std::set<int>{1, 2, 3}));
        EXPECT_EQ(s->pool().undrawnCount(), 3) << "refilled for the next round";
    }
}

TEST_F(SlideDrawTest, TheBoxShowsWhereTheShowIsWhenTheJumpFails) {
    givenSlides(5);
    ASSERT_NE(open(), nullptr);
    button(s, "Command3")->click();
    show()->running = false; // the user ended the show in the presentation program
    button(s, "Command4")->click();
    EXPECT_EQ(box(), QStringLiteral("0/5"));
    EXPECT_FALSE(s->pool().isUndrawn(s->pickedSlide())) << "the draw still counts";
}

TEST_F(SlideDrawTest, MoreThanSixHundredSlidesDrawFromTheFirstSixHundred) {
    givenSlides(700);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(s->slideTotal(), 700);
    EXPECT_EQ(s->pool().count(), 600);
    for (int i = 0; i < 50; ++i) {
        const int slide = drawOne(1);
        ASSERT_LE(slide, 600);
        ASSERT_EQ(box(), QStringLiteral("%1/700").arg(slide));
    }
}

TEST_F(SlideDrawTest, ExitDuringTheFlickerEndsTheShowAndReturnsToTheShortMainWindow) {
    givenSlides(30);
    main->setHeight(3465);
    ASSERT_NE(open(), nullptr);
    auto fakeShow = show();
    const qint64 pid = app()->ProcessId();
    button(s, "Command3")->click();
    h.tick(*s, QStringLiteral("Timer1"), 5);
    main->controlWidget(QStringLiteral("Frame4"))->show();
    button(s, "Command1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_FALSE(fakeShow->running);
    EXPECT_FALSE(h.office.world().isRunning(pid));
    EXPECT_TRUE(h.fake.taskbar.visible);
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("show"));
    EXPECT_FALSE(forms().isLoaded(FormId::Form5));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->Height(), 2850);
    EXPECT_FALSE(shown(main, "Frame4"));
    EXPECT_TRUE(pollOn());
}

TEST_F(SlideDrawTest, NothingToDrawFromTellsTheUserAndReturnsToTheMainWindow) {
    const struct Case {
        const char* name;
        std::function<void()> arrange;
        QString text;
    } cases[] = {
        {"file missing", [] {},
         QStringLiteral("      无法打开PPT文件“MYPPT.ppt”，不能进行PPT图文抽签！  ")},
        {"no slides", [this] { givenSlides(0); },
         QStringLiteral("      PPT文件“MYPPT.ppt”中没有幻灯片，不能进行PPT图文抽签！  ")},
        {"unreadable", [this] { givenSlides(3); h.office.world().faults.fileMissing = true; },
         QStringLiteral("      无法打开PPT文件“MYPPT.ppt”，不能进行PPT图文抽签！  ")},
        {"no presentation program", [this] { h.office.world().faults.programMissing = true; },
         QStringLiteral("      无法启动演示程序（LibreOffice Impress），不能进行PPT图文抽签！  ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.office.world().faults = {};
        h.office.world().removeFile(QDir(h.folder()).filePath(QStringLiteral("MYPPT.ppt")));
        h.fake.messages.shown.clear();
        c.arrange();
        open();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("PPT随机抽签程序提示："));
        EXPECT_EQ(h.fake.messages.shown[0].text, c.text);
        EXPECT_FALSE(forms().isLoaded(FormId::Form5));
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(main->Height(), 2850);
        EXPECT_TRUE(pollOn());
        EXPECT_TRUE(h.fake.taskbar.visible);
        EXPECT_TRUE(h.office.world().runningProcesses(true).isEmpty()) << "no presentation program left behind";
    }
}

TEST_F(SlideDrawTest, TheProgramsEndGivesTheShowAndThePanelBack) {
    givenSlides(4);
    ASSERT_NE(open(), nullptr);
    button(s, "Command3")->click();
    const qint64 pid = app()->ProcessId();
    forms().unloadAllAndEnd();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(h.office.world().isRunning(pid));
    EXPECT_TRUE(h.fake.taskbar.visible);
}

TEST_F(SlideDrawTest, DraggedByTheBoxAndHoverFocusesTheButtons) {
    givenSlides(4);
    ASSERT_NE(open(), nullptr);
    const int left = s->Left(), top = s->Top();
    QWidget* text = s->controlWidget(QStringLiteral("Text1"));
    pointer::press(text, {5, 5});
    pointer::dragTo(text, {15, 25});
    pointer::release(text, {15, 25});
    EXPECT_EQ(s->Left(), left + 150);
    EXPECT_EQ(s->Top(), top + 300);
    for (const char* name : {"Command1", "Command3"}) {
        pointer::moveOver(button(s, name));
        EXPECT_EQ(s->focusWidget(), button(s, name)) << name;
    }
}

} // namespace
