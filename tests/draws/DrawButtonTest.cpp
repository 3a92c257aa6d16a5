#include "DrawsFixture.h"

#include "office/OfficeSuite.h"

#include <optional>

namespace {

using Answer = platform::MessageBoxes::Answer;

const QString guardTitle = QStringLiteral("Kelvora工具");
const QString guardText = QStringLiteral("    当前已打开一个PPT文件，关闭该PPT文件才能进行抽签操作！");

class DrawButtonTest : public DrawsFixture {};

TEST_F(DrawButtonTest, OpensTheMenuInPlaceOfTheMainWindow) {
    presentationProgramRuns(false);
    main->setTop(3000);
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_EQ(state().launcherBlocked, QStringLiteral("N"));
    EXPECT_TRUE(l->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(pollOn());
    EXPECT_TRUE(l->timer(QStringLiteral("Timer1"))->enabled());
    EXPECT_EQ(l->windowTitle(), main->windowTitle());
    EXPECT_EQ(l->Height(), 6585);
    EXPECT_EQ(l->Top(), 3000);
    EXPECT_EQ(l->Left(), (l->screenWidth() - l->Width()) / 2);
    EXPECT_TRUE(shown(l, "Frame3"));
    EXPECT_EQ(l->controlWidget(QStringLiteral("Frame1"))->height(), 5445 / 15);
    EXPECT_EQ(state().topmostRequest, QStringLiteral("Y"));
    EXPECT_EQ(h.fake.taskbar.calls.value(h.fake.taskbar.calls.size() - 1), QStringLiteral("show"));
    EXPECT_EQ(label(l, "Label7")->text(), QStringLiteral("\n本轮抽签还没有结束\n\n    您确实要退出抽签程序吗？"));
    EXPECT_EQ(label(l, "Label8")->text(), QStringLiteral("请选择所需功能"));
    EXPECT_NE(std::find(h.fake.placement.topmostCalls.begin(), h.fake.placement.topmostCalls.end(), l),
              h.fake.placement.topmostCalls.end());
}

TEST_F(DrawButtonTest, NoOfficeStartsAheadBeforeTheMenuOpensAndOneWhenItDoes) {
    presentationProgramRuns(false);
    // The timer alone, with the menu loaded hidden since start-up, never needs an office.
    for (int i = 0; i < 20; ++i)
        h.tick(*main, QStringLiteral("Timer2"));
    EXPECT_TRUE(h.office.world().warmUps.isEmpty());
    ASSERT_NE(openLauncher(), nullptr);
    EXPECT_EQ(h.office.world().warmUps, QList{vexlo::office::OfficeKind::Presentation});
}

TEST_F(DrawButtonTest, GuardAsksOnlyWhileThePresentationProgramRunsInTheNormalLayout) {
    const struct Case {
        const char* name;
        bool runs;
        const char* layoutMode;
        std::optional<Answer> answer; // none: no question expected
        bool opens;
    } cases[] = {
        {"running, S, Yes", true, "S", Answer::Yes, true},
        {"running, S, No", true, "S", Answer::No, false},
        {"running, H", true, "H", std::nullopt, true},
        {"not running, S", false, "S", std::nullopt, true},
        {"not running, H", false, "H", std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forms().unload(FormId::Form2);
        main->show();
        main->timer(QStringLiteral("Timer2"))->setEnabled(true);
        main->setTop(2500);
        h.fake.messages.shown.clear();
        h.fake.desktopWindows.closeRequests.clear();
        h.fake.messages.answers.clear();
        if (c.answer)
            h.fake.messages.answers.push_back(*c.answer);
        presentationProgramRuns(c.runs);
        state().layoutMode = QString::fromLatin1(c.layoutMode);

        draws::DrawLauncher* l = openLauncher();

        if (c.answer) {
            ASSERT_EQ(h.fake.messages.shown.size(), 1u);
            EXPECT_TRUE(h.fake.messages.shown[0].question);
            EXPECT_EQ(h.fake.messages.shown[0].title, guardTitle);
            EXPECT_EQ(h.fake.messages.shown[0].text, guardText);
        } else {
            EXPECT_TRUE(h.fake.messages.shown.empty());
        }
        if (c.answer == Answer::Yes)
            EXPECT_EQ(h.fake.desktopWindows.closeRequests, (std::vector<quint64>{12})) << "the presentation only";
        else
            EXPECT_TRUE(h.fake.desktopWindows.closeRequests.empty());
        EXPECT_EQ(state().launcherBlocked, c.opens ? QStringLiteral("N") : QStringLiteral("Y"));
        if (c.opens) {
            ASSERT_NE(l, nullptr);
            EXPECT_TRUE(l->isVisible());
            EXPECT_FALSE(main->isVisible());
            EXPECT_FALSE(pollOn());
        } else {
            // "No" leaves everything as it was.
            EXPECT_TRUE(l == nullptr || !l->isVisible());
            EXPECT_TRUE(main->isVisible());
            EXPECT_TRUE(pollOn());
            EXPECT_EQ(main->Top(), 2500);
        }
    }
}

TEST_F(DrawButtonTest, AfterNoTheNextClickOpensOnceThePresentationProgramIsClosed) {
    presentationProgramRuns(true);
    h.fake.messages.answers = {Answer::No};
    EXPECT_TRUE(openLauncher() == nullptr || !launcher()->isVisible());
    presentationProgramRuns(false);
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible());
    EXPECT_EQ(h.fake.messages.shown.size(), 1u);
}

// The office layer's own instances, as its backends report them.
class OfficeStub : public vexlo::office::OfficeSuite {
public:
    std::shared_ptr<vexlo::office::PresentationApp> createPresentationApp() override { return nullptr; }
    std::shared_ptr<vexlo::office::SpreadsheetApp> createSpreadsheetApp() override { return nullptr; }
    std::shared_ptr<vexlo::office::SpreadsheetApp> attachRunningSpreadsheet() override { return nullptr; }
    void warmUp(vexlo::office::OfficeKind) override {}
    void dropWarmedUp() override {}
    QString presentationProcessName() const override { return QStringLiteral("soffice.bin"); }
    QList<qint64> ownProcessIds() const override { return {901}; }
};

TEST_F(DrawButtonTest, OnlyTheUsersLibreOfficePresentationsAreAskedAboutAndClosed) {
    OfficeStub office;
    h.ctx().office = &office;
    using W = platform::ClientWindow;
    const QString lo = QStringLiteral("libreoffice");
    const QString show = QStringLiteral("LibreOffice 7.4"); // the show window's class
    const struct Row {
        W window;
        bool presentation;
    } rows[] = {
        {{1, QStringLiteral("MYPPT.ppt - LibreOffice Impress"), lo, QStringLiteral("libreoffice-impress"), 500}, true},
        {{2, QStringLiteral("Presenting: MYPPT"), lo, show, 500}, true},
        {{3, QStringLiteral("正在演示: 课件"), lo, show, 500}, true},
        {{4, QStringLiteral("正在簡報：課件"), lo, show, 500}, true},
        {{5, QStringLiteral("Notes.odt - LibreOffice Writer"), lo, QStringLiteral("libreoffice-writer"), 500}, false},
        {{6, QStringLiteral("Untitled 1 - LibreOffice Calc"), lo, QStringLiteral("libreoffice-calc"), 500}, false},
        {{7, QStringLiteral("Plan.odg - LibreOffice Draw"), lo, QStringLiteral("libreoffice-draw"), 500}, false},
        {{8, QStringLiteral("LibreOffice"), lo, QStringLiteral("libreoffice-startcenter"), 500}, false},
        {{9, QStringLiteral("LibreOffice 7.4"), lo, show, 500}, false}, // the quick starter
        {{10, QStringLiteral("MYPPT.ppt - LibreOffice Impress"), lo, QStringLiteral("libreoffice-impress"), 901}, false},
        {{11, QStringLiteral("Presenting: MYPPT"), lo, show, 901}, false},
        {{12, QStringLiteral("Talk.odp - LibreOffice Impress"), lo, QStringLiteral("libreoffice-impress"), 700, true},
         false},
        {{13, QStringLiteral("Presenting: ours"), QStringLiteral("Vexlo8.12"), QStringLiteral("Vexlo8.12"), 0, false,
          true},
         false},
        {{14, QStringLiteral("Microsoft PowerPoint - Wikipedia"), QStringLiteral("Navigator"),
          QStringLiteral("firefox-esr"), 600},
         false},
    };
    auto& windows = h.fake.desktopWindows.windows;
    windows.clear();
    for (const Row& r : rows) {
        if (!r.presentation)
            windows.push_back(r.window);
    }
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible());
    EXPECT_TRUE(h.fake.messages.shown.empty()) << "nothing of these is the user's presentation";
    EXPECT_TRUE(h.fake.desktopWindows.closeRequests.empty());

    forms().unload(FormId::Form2);
    main->show();
    for (const Row& r : rows) {
        if (r.presentation)
            windows.push_back(r.window);
    }
    h.fake.messages.answers = {Answer::Yes};
    ASSERT_NE(openLauncher(), nullptr);
    EXPECT_EQ(h.fake.messages.shown.size(), 1u);
    // Shows first (closing one only ends the show), then the document.
    EXPECT_EQ(h.fake.desktopWindows.closeRequests, (std::vector<quint64>{2, 3, 4, 1}));
    EXPECT_EQ(windows.size(), std::size(rows) - 4) << "everything else stays open";
    h.ctx().office = nullptr;
}

TEST_F(DrawButtonTest, APresentationKeptOpenAfterYesStillStopsThePresentationButtons) {
    std::vector<QString> log;
    registerProbe(forms(), FormId::Form5, log);
    presentationProgramRuns(true);
    h.fake.desktopWindows.keptOpen = {12}; // "Cancel" in LibreOffice's save question
    h.fake.messages.answers = {Answer::Yes};
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible()) << "the launcher opens without waiting";
    EXPECT_EQ(h.fake.desktopWindows.closeRequests, (std::vector<quint64>{12}));

    button(l, "Command12")->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 2u);
    EXPECT_FALSE(h.fake.messages.shown[1].question);
    EXPECT_TRUE(log.empty()) << "no slide draw while the presentation is open";
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(h.fake.desktopWindows.closeRequests.size(), 1u) << "the buttons only refuse";
}

} // namespace
