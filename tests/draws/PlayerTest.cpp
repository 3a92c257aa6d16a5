#include "DrawsFixture.h"

#include "draws/PresentationPlayer.h"
#include "draws/SlideDraw.h"
#include "office/Presentation.h"
#include "office/fake/FakePresentation.h"

#include <QDir>
#include <QPushButton>

namespace {

using vexlo::office::FakePresentationApp;

// The instruction presentations differ by their slide counts, so a test sees which one shows.
constexpr int note1Slides = 4;
constexpr int note2Slides = 7;

class PlayerTest : public DrawsFixture {
protected:
    void SetUp() override {
        DrawsFixture::SetUp();
        auto& world = h.office.world();
        world.writePresentationFile(QDir(h.folder()).filePath(QStringLiteral("Note1.PPT")), note1Slides);
        world.writePresentationFile(QDir(h.folder()).filePath(QStringLiteral("Note2.PPT")), note2Slides);
        world.writePresentationFile(QDir(h.folder()).filePath(QStringLiteral("MYPPT.ppt")), 10);
        presentationProgramRuns(false);
    }
    // Menu, then the launcher's button: the player it left showing (or null).
    draws::PresentationPlayer* play(const char* launcherButton) {
        draws::DrawLauncher* l = openLauncher();
        if (!l)
            return nullptr;
        button(l, launcherButton)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return player();
    }
    draws::PresentationPlayer* player() {
        return qobject_cast<draws::PresentationPlayer*>(forms().loaded(FormId::Form8));
    }
    static FakePresentationApp* fakeApp(draws::PresentationPlayer* p) {
        return p ? dynamic_cast<FakePresentationApp*>(p->app().get()) : nullptr;
    }
    int shownSlides(draws::PresentationPlayer* p) {
        return p && p->presentation() ? p->presentation()->SlideCount() : -1;
    }
    void doubleClickHint() {
        pointer::doubleClick(main->controlWidget(QStringLiteral("Label9")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void expectBackInTheShortMainWindow() {
        EXPECT_FALSE(forms().isLoaded(FormId::Form8));
        EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
        EXPECT_EQ(main->Height(), 2850);
        EXPECT_TRUE(main->isVisible());
        EXPECT_TRUE(h.fake.taskbar.visible);
        EXPECT_TRUE(h.office.world().runningProcesses(true).isEmpty()) << "the presentation program was quit";
    }
};

TEST_F(PlayerTest, ShowsTheInstructionsFullScreenOffScreenBesideTheTallMainWindow) {
    draws::PresentationPlayer* p = play("Command1");
    ASSERT_NE(p, nullptr);
    ASSERT_NE(fakeApp(p), nullptr);
    EXPECT_TRUE(fakeApp(p)->isVisible());
    EXPECT_EQ(shownSlides(p), note1Slides);
    EXPECT_TRUE(fakeApp(p)->lastShow()->running);
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("hide"));
    EXPECT_EQ(p->Top(), -2000);
    EXPECT_FALSE(p->isVisible()) << "never shown, not even off the screen";
    EXPECT_EQ(p->windowTitle(), QStringLiteral("Kelvora工具"));
    EXPECT_EQ(button(p, "Command1")->text(), QStringLiteral("Command1"));
    EXPECT_EQ(state().layoutMode, QStringLiteral("H"));
    EXPECT_EQ(main->Height(), 3465);
    EXPECT_TRUE(shown(main, "Frame4"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(pollOn());
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(PlayerTest, TheFirstInstructionsWhileTheSecondShowClosesThatShowFirst) {
    draws::PresentationPlayer* p = play("Command2");
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(shownSlides(p), note2Slides);
    const qint64 note2Program = p->app()->ProcessId();
    presentationProgramRuns(true); // the shown presentation: no refusal in "H"

    p = play("Command1");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(h.office.world().isRunning(note2Program));
    EXPECT_EQ(h.office.world().runningProcesses(true).size(), 1);
    EXPECT_EQ(shownSlides(p), note1Slides);
    EXPECT_EQ(state().layoutMode, QStringLiteral("H"));
    EXPECT_EQ(main->Height(), 3465);
    EXPECT_TRUE(shown(main, "Frame4"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("hide"));
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(PlayerTest, TheHintClosesTheShowWhateverTheUserDidMeanwhile) {
    const struct Case {
        const char* name;
        std::function<void(FakePresentationApp&)> meanwhile;
    } cases[] = {
        {"show still running", [](FakePresentationApp&) {}},
        {"user ended the show", [](FakePresentationApp& app) { app.lastShow()->running = false; }},
        {"user closed the program", [this](FakePresentationApp& app) {
             h.office.world().kill(app.ProcessId());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        draws::PresentationPlayer* p = play("Command2");
        ASSERT_NE(fakeApp(p), nullptr);
        c.meanwhile(*fakeApp(p));
        doubleClickHint();
        expectBackInTheShortMainWindow();
        EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("show"));
    }
}

TEST_F(PlayerTest, TheSlideDrawStartedWhileInstructionsShowKeepsTheMainWindowHidden) {
    draws::PresentationPlayer* p = play("Command1");
    ASSERT_NE(p, nullptr);
    const qint64 noteProgram = p->app()->ProcessId();
    presentationProgramRuns(true);

    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    // The main window must not flash up between the two shows.
    bool mainShownMeanwhile = false;
    struct Spy : QObject {
        bool* flag;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Show)
                *flag = true;
            return false;
        }
    } spy;
    spy.flag = &mainShownMeanwhile;
    main->installEventFilter(&spy);
    button(l, "Command12")->click();
    main->removeEventFilter(&spy);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_FALSE(h.office.world().isRunning(noteProgram));
    EXPECT_FALSE(forms().isLoaded(FormId::Form8));
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(mainShownMeanwhile);
    EXPECT_EQ(state().layoutMode, QStringLiteral("S"));
    EXPECT_EQ(main->Height(), 2850);
    auto* slides = qobject_cast<draws::SlideDraw*>(forms().loaded(FormId::Form5));
    ASSERT_NE(slides, nullptr);
    EXPECT_TRUE(slides->isVisible());
    EXPECT_EQ(slides->slideTotal(), 10);
    EXPECT_EQ(h.fake.taskbar.calls.back(), QStringLiteral("hide")) << "the slide show has the screen";
}

TEST_F(PlayerTest, ExitWhileInstructionsShowQuitsThePresentationProgramAndGivesThePanelBack) {
    draws::PresentationPlayer* p = play("Command1");
    ASSERT_NE(p, nullptr);
    h.fake.messages.answers.push_back(platform::MessageBoxes::Answer::Yes);
    button(main, "Command7")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(forms().ended());
    EXPECT_TRUE(h.office.world().runningProcesses(true).isEmpty());
    EXPECT_TRUE(h.fake.taskbar.visible);
}

TEST_F(PlayerTest, WithoutAShowTheUserIsToldAndTheHintStillCloses) {
    const struct Case {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"file missing", [this] {
             h.office.world().removeFile(QDir(h.folder()).filePath(QStringLiteral("Note1.PPT")));
         }},
        {"no presentation program", [this] { h.office.world().faults.programMissing = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.fake.messages.shown.clear();
        h.fake.taskbar.calls.clear();
        c.arrange();
        draws::PresentationPlayer* p = play("Command1");
        ASSERT_NE(p, nullptr);
        EXPECT_FALSE(p->showing());
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
        EXPECT_EQ(h.fake.messages.shown[0].text,
                  QStringLiteral("      无法播放PPT说明文件“Note1.PPT”，请确认已安装LibreOffice Impress且该文件完好！  "));
        EXPECT_FALSE(h.fake.taskbar.calls.contains(QStringLiteral("hide"))) << "the panel stays";
        EXPECT_EQ(state().layoutMode, QStringLiteral("H"));

        doubleClickHint();
        expectBackInTheShortMainWindow();
    }
}

} // namespace
