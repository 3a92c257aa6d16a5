#include "ReadyProgramTest.h"

#include "lifecycle/ExitControl.h"
#include "lifecycle/HomePage.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QUrl>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using Answer = platform::MessageBoxes::Answer;

// Stands in for the presentation player: its close button only records that it was pressed.
class PlayerProbe : public Form {
public:
    PlayerProbe(AppContext& ctx, QStringList& log) : Form(ctx, FormId::Form8, QStringLiteral(":/forms/Form1.json")) {
        control<QPushButton>(QStringLiteral("Command1"))->setEnabled(true);
        connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, [this, &log] {
            log << QStringLiteral("player closed at top %1").arg(Top());
        });
        addUnloadHook([&log] { log << QStringLiteral("unload Form8"); });
    }
};

class ExitTest : public ReadyProgramTest {
protected:
    void SetUp() override {
        ReadyProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        h.ctx().forms.setEndProcess([this] { log << QStringLiteral("end"); });
        w->addUnloadHook([this] { log << QStringLiteral("unload Form1"); });
        h.fake.messages.shown.clear();
    }
    void click(const char* name) { w->control<QPushButton>(QLatin1String(name))->click(); }

    QStringList log;
};

TEST_F(ExitTest, NoLeavesEverythingRunningCentredWithThePanelShown) {
    h.fake.taskbar.visible = false;
    w->setLeft(40);
    w->setTop(-2500);
    click("Command7");
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.fake.messages.shown[0].question);
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具"));
    EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("      确实要退出Kelvora程序吗? "));
    EXPECT_TRUE(h.fake.taskbar.visible);
    EXPECT_EQ(w->Top(), 2000);
    EXPECT_EQ(w->Left(), (w->screenWidth() - w->Width()) / 2);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(h.ctx().forms.ended());
}

TEST_F(ExitTest, YesClosesEveryWindowAndEnds) {
    h.fake.messages.answers.push_back(Answer::Yes);
    click("Command7");
    EXPECT_EQ(log, (QStringList{"unload Form1", "end"}));
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form1));
}

TEST_F(ExitTest, WithAnInstructionPresentationOpenThePlayerClosesItFirst) {
    h.ctx().forms.setFactory(FormId::Form8, [this](AppContext& c) { return std::make_unique<PlayerProbe>(c, log); });
    h.ctx().state.layoutMode = QStringLiteral("H");
    h.fake.messages.answers.push_back(Answer::Yes);
    click("Command7");
    EXPECT_EQ(log, (QStringList{"player closed at top -2000", "unload Form8", "unload Form1", "end"}));
    EXPECT_EQ(h.ctx().state.layoutMode, QStringLiteral("S"));
}

TEST_F(ExitTest, ARunningCountdownEndsWithoutAQuestionOfItsOwn) {
    click("Command1");
    ASSERT_EQ(h.ctx().state.countdownState, AppState::Running);
    h.fake.messages.answers.push_back(Answer::Yes);
    click("Command7");
    EXPECT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.ctx().forms.ended());
}

class HelpTest : public ExitTest {
protected:
    void SetUp() override {
        ExitTest::SetUp();
        m_path = qgetenv("PATH");
        bin.reset(new QTemporaryDir);
        qputenv("PATH", bin->path().toLocal8Bit());
    }
    void TearDown() override {
        qputenv("PATH", m_path);
        ExitTest::TearDown();
    }
    void installViewer(const char* name) {
        QFile viewer(bin->filePath(QLatin1String(name)));
        ASSERT_TRUE(viewer.open(QIODevice::WriteOnly));
        viewer.write("#!/bin/sh\nexit 0\n");
        viewer.close();
        viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    std::unique_ptr<QTemporaryDir> bin;
    QByteArray m_path;
};

TEST_F(HelpTest, OpensTheHelpFileOfTheCurrentDirectoryInTheViewerFound) {
    installViewer("kchmviewer");
    QFile(QStringLiteral("帮助文件.CHM")).open(QIODevice::WriteOnly);
    w->controlWidget(QStringLiteral("Frame4"))->show();
    click("Command6");
    EXPECT_EQ(w->Height(), 3465);
    EXPECT_FALSE(w->controlWidget(QStringLiteral("Frame4"))->isVisibleTo(w));
    EXPECT_EQ(h.ctx().state.layoutMode, QStringLiteral("S")) << "the mode is not changed";
    ASSERT_EQ(h.fake.processes.started.size(), 1);
    EXPECT_EQ(h.fake.processes.started[0],
              QStringLiteral("\"%1\" \"%2\"").arg(bin->filePath("kchmviewer"), h.folder() + "/帮助文件.CHM"));
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(HelpTest, XchmIsPreferredAndAMissingFileIsTheViewersToReport) {
    installViewer("kchmviewer");
    installViewer("xchm");
    click("Command6");
    EXPECT_EQ(w->Height(), 3465);
    ASSERT_EQ(h.fake.processes.started.size(), 1);
    EXPECT_TRUE(h.fake.processes.started[0].startsWith(QStringLiteral("\"%1\"").arg(bin->filePath("xchm"))));
    EXPECT_TRUE(h.fake.processes.started[0].endsWith(QStringLiteral("/帮助文件.chm\"")));
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(HelpTest, WithoutAViewerTheUserIsToldAndTheProgramRunsOn) {
    click("Command6");
    EXPECT_EQ(w->Height(), 3465);
    EXPECT_TRUE(h.fake.processes.started.isEmpty());
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.fake.messages.shown[0].text.contains(QStringLiteral("xchm")));
    EXPECT_FALSE(h.ctx().forms.ended());

    installViewer("xchm");
    h.fake.processes.startSucceeds = false;
    click("Command6");
    EXPECT_EQ(h.fake.messages.shown.size(), 2u) << "a viewer that cannot start is reported too";
}

TEST_F(HelpTest, TheLogoOpensTheAddressItsToolTipAndTheProductLineShow) {
    pointer::press(w->controlWidget(QStringLiteral("Image1")));
    pointer::release(w->controlWidget(QStringLiteral("Image1")));
    ASSERT_EQ(h.fake.processes.opened.size(), 1);
    const QString address = h.fake.processes.opened[0];
    EXPECT_FALSE(address.isEmpty());
    EXPECT_EQ(w->controlWidget(QStringLiteral("Image1"))->toolTip(), QStringLiteral("打开主页，下载最新版本 ") + address);
    // The build names no public page: the bundled help page, named so that it fits.
    ASSERT_TRUE(QUrl(address).isLocalFile());
    EXPECT_EQ(w->control<QLabel>(QStringLiteral("Label4"))->text(), QStringLiteral("Tarnwick Vexlo Ver 8.06   本机帮助主页"));
    EXPECT_EQ(homePage::shownAs(QStringLiteral("https://www.example.org/vexlo/")), QStringLiteral("www.example.org/vexlo"));
}

TEST(HomePage, ABuildWithoutAnAddressOpensItsOwnHelpStartPage) {
    QTemporaryDir installed; // lib/vexlo beside share/vexlo/help, as the package lays it out
    const QString program = installed.filePath(QStringLiteral("lib/vexlo"));
    const QString page = installed.filePath(QStringLiteral("share/vexlo/help/index.html"));
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(QFileInfo(page).path()));
    QFile(page).open(QIODevice::WriteOnly);
    QTemporaryDir buildTree; // help/ beside the program
    const QString built = buildTree.filePath(QStringLiteral("help/index.html"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(built).path()));
    QFile(built).open(QIODevice::WriteOnly);
    const struct {
        QString configured, programDir, expected;
    } cases[] = {
        {QString(), program, QUrl::fromLocalFile(page).toString()},
        {QString(), buildTree.path(), QUrl::fromLocalFile(built).toString()},
        {QStringLiteral(" file:///opt/vexlo/start.html "), program, QStringLiteral("file:///opt/vexlo/start.html")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programDir.toStdString());
        EXPECT_EQ(homePage::resolve(c.configured, c.programDir), c.expected);
    }
}

} // namespace
