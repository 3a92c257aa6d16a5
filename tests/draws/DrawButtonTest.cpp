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
        h.fake.processes.terminated.clear();
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
        if (c.answer == Answer::Yes) {
            ASSERT_EQ(h.fake.processes.terminated.size(), 1u);
            EXPECT_EQ(h.fake.processes.terminated[0].first, QStringLiteral("soffice.bin"));
            EXPECT_TRUE(h.fake.processes.terminated[0].second.isEmpty());
        } else {
            EXPECT_TRUE(h.fake.processes.terminated.empty());
        }
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

TEST_F(DrawButtonTest, AFailedProcessSnapshotCountsAsNotRunning) {
    presentationProgramRuns(true);
    h.fake.processes.snapshotFails = true;
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible());
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

// The office layer's view of the presentation program, as the office engineer's
// backends report it.
class OfficeStub : public vexlo::office::OfficeSuite {
public:
    std::shared_ptr<vexlo::office::PresentationApp> createPresentationApp() override { return nullptr; }
    std::shared_ptr<vexlo::office::SpreadsheetApp> createSpreadsheetApp() override { return nullptr; }
    std::shared_ptr<vexlo::office::SpreadsheetApp> attachRunningSpreadsheet() override { return nullptr; }
    QString presentationProcessName() const override { return name; }
    QList<qint64> ownProcessIds() const override { return own; }
    QString name = QStringLiteral("soffice.bin");
    QList<qint64> own;
};

TEST_F(DrawButtonTest, TheProgramsOwnOfficeInstancesNeverCount) {
    OfficeStub office;
    office.own = {901, 902};
    h.ctx().office = &office;
    h.fake.processes.running = {{901, QStringLiteral("soffice.bin")}, {902, QStringLiteral("soffice.bin")}};
    draws::DrawLauncher* l = openLauncher();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible());
    EXPECT_TRUE(h.fake.messages.shown.empty()) << "only our own instances run";

    forms().unload(FormId::Form2);
    main->show();
    h.fake.processes.running.push_back({903, QStringLiteral("soffice.bin")}); // the user's own
    h.fake.messages.answers = {Answer::Yes};
    ASSERT_NE(openLauncher(), nullptr);
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    ASSERT_EQ(h.fake.processes.terminated.size(), 1u);
    EXPECT_EQ(h.fake.processes.terminated[0].first, QStringLiteral("soffice.bin"));
    EXPECT_EQ(h.fake.processes.terminated[0].second, (QList<qint64>{901, 902})) << "ours are spared";
    h.ctx().office = nullptr;
}

TEST_F(DrawButtonTest, TheProcessNameComesFromTheOfficeLayer) {
    OfficeStub office;
    office.name = QStringLiteral("powerpnt.exe");
    h.ctx().office = &office;
    h.fake.processes.running = {{50, QStringLiteral("soffice.bin")}, {51, QStringLiteral("POWERPNT.EXE")}};
    h.fake.messages.answers = {Answer::Yes};
    ASSERT_NE(openLauncher(), nullptr);
    ASSERT_EQ(h.fake.messages.shown.size(), 1u) << "POWERPNT.EXE lower-cased matches";
    ASSERT_EQ(h.fake.processes.terminated.size(), 1u);
    EXPECT_EQ(h.fake.processes.terminated[0].first, QStringLiteral("powerpnt.exe"));
    h.ctx().office = nullptr;
}

} // namespace
