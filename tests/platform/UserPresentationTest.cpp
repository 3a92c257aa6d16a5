// The draw guard against the user's own LibreOffice on the test display, under openbox:
// only its presentations are asked about, only they are asked to close, and its other
// documents stay open with their unsaved changes.
#include "AppHarness.h"

#include "draws/DrawLauncher.h"
#include "draws/PresentationProgram.h"
#include "platform/x11/X11DesktopWindows.h"
#include "platform/x11/X11WindowList.h"
#include "timer/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <unistd.h>

namespace {

using Answer = platform::MessageBoxes::Answer;

// The user's LibreOffice: a profile and pipe of its own, in a session of its own, so that
// it and the office process it starts end together by the id of the process started here.
class UserOffice {
public:
    explicit UserOffice(const QString& root) : m_pipe(QStringLiteral("vexlo_user_%1").arg(getpid())) {
        m_process.setChildProcessModifier([] { setsid(); });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("soffice"),
                        {QStringLiteral("-env:UserInstallation=%1").arg(QUrl::fromLocalFile(root + "/profile").toString()),
                         QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                         QStringLiteral("--accept=pipe,name=%1;urp;").arg(m_pipe)});
        m_ready = m_process.waitForStarted(10000) &&
                  QTest::qWaitFor([this] { return uno({QStringLiteral("state")}, 5000).has_value(); }, 90000);
    }
    ~UserOffice() {
        const auto group = static_cast<pid_t>(m_process.processId());
        if (group > 0) {
            ::kill(-group, SIGTERM);
            if (!m_process.waitForFinished(10000))
                ::kill(-group, SIGKILL);
            m_process.waitForFinished(5000);
            ::kill(-group, SIGKILL); // anything of the group still there
        }
    }
    bool ready() const { return m_ready; }

    // Runs the UNO helper; its output, or nullopt when it failed or did not answer (then
    // `why` says which, with what the helper said).
    std::optional<QString> uno(QStringList args, int timeoutMs = 30000, QString* why = nullptr) const {
        QProcess helper;
        args.prepend(m_pipe);
        args.prepend(QStringLiteral(VEXLO_USER_OFFICE_SCRIPT));
        helper.start(QStringLiteral("/usr/bin/python3"), args);
        if (!helper.waitForFinished(timeoutMs)) {
            helper.kill();
            helper.waitForFinished(2000);
            if (why)
                *why = QStringLiteral("no answer within %1 ms").arg(timeoutMs);
            return std::nullopt;
        }
        if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0) {
            if (why)
                *why = QStringLiteral("failed: ") + QString::fromUtf8(helper.readAllStandardError()).trimmed();
            return std::nullopt;
        }
        return QString::fromUtf8(helper.readAllStandardOutput());
    }
    QString state() const {
        QString why;
        return uno({QStringLiteral("state")}, 30000, &why).value_or(QStringLiteral("no state: ") + why);
    }

private:
    QString m_pipe;
    QProcess m_process;
    bool m_ready = false;
};

class UserPresentation : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_office = new UserOffice(s_dir->path());
    }
    static void TearDownTestSuite() {
        delete s_office;
        delete s_dir;
    }
    void SetUp() override {
        ASSERT_TRUE(s_office->ready()) << "the user's LibreOffice did not start";
        ASSERT_TRUE(h.start());
        h.tick(h.main(), QStringLiteral("Timer6"));
        h.main().show();
        h.ctx().forms.setEndProcess([] {});
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QString presentationFile(const char* name) {
        const QString file = QDir(s_dir->path()).filePath(QString::fromLatin1(name));
        QFile::copy(QStringLiteral(VEXLO_DATA_DIR "/MYPPT.ppt"), file);
        return file;
    }
    bool hasWindow(const QString& title) {
        for (const platform::ClientWindow& w : desktop.list()) {
            if (w.title == title)
                return true;
        }
        return false;
    }
    bool waitForWindow(const QString& title, bool present) {
        return QTest::qWaitFor([&] { return hasWindow(title) == present; }, 30000);
    }
    // "抽签": the launcher when it opened.
    draws::DrawLauncher* clickDraw() {
        h.ctx().forms.unload(FormId::Form2);
        h.main().show();
        h.main().control<QPushButton>(QStringLiteral("Command5"))->click();
        auto* l = qobject_cast<draws::DrawLauncher*>(h.ctx().forms.loaded(FormId::Form2));
        return l && l->isVisible() ? l : nullptr;
    }

    static QTemporaryDir* s_dir;
    static UserOffice* s_office;
    platform::X11WindowList walk;
    platform::X11DesktopWindows desktop{walk};
    AppHarness h{AppHarness::defaultDataFiles(), &desktop};
};
QTemporaryDir* UserPresentation::s_dir = nullptr;
UserOffice* UserPresentation::s_office = nullptr;

const QString calcTitle = QStringLiteral("Untitled 1 - LibreOffice Calc");
const QString unsavedSpreadsheet = QStringLiteral("spreadsheet\t\tTrue");

TEST_F(UserPresentation, TheGuardAsksOnlyForAPresentationAndClosesOnlyIt) {
    ASSERT_TRUE(s_office->uno({QStringLiteral("calc")}));
    ASSERT_TRUE(waitForWindow(calcTitle, true));

    EXPECT_NE(clickDraw(), nullptr);
    EXPECT_TRUE(h.fake.messages.shown.empty()) << "a spreadsheet is no presentation";
    EXPECT_TRUE(s_office->state().contains(unsavedSpreadsheet)) << s_office->state().toStdString();

    const QString file = presentationFile("Talk.ppt");
    ASSERT_TRUE(s_office->uno({QStringLiteral("open"), file}));
    ASSERT_TRUE(waitForWindow(QStringLiteral("Talk.ppt - LibreOffice Impress"), true));
    ASSERT_TRUE(s_office->uno({QStringLiteral("show")}));
    ASSERT_TRUE(waitForWindow(QStringLiteral("Presenting: Talk"), true));

    h.fake.messages.answers = {Answer::Yes};
    EXPECT_NE(clickDraw(), nullptr) << "the launcher opens at once";
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.fake.messages.shown[0].question);

    EXPECT_TRUE(waitForWindow(QStringLiteral("Talk.ppt - LibreOffice Impress"), false));
    EXPECT_FALSE(hasWindow(QStringLiteral("Presenting: Talk")));
    const QString after = s_office->state();
    EXPECT_FALSE(after.contains(QStringLiteral("presentation"))) << after.toStdString();
    EXPECT_TRUE(after.contains(unsavedSpreadsheet)) << "the spreadsheet stays, unsaved" << after.toStdString();
    EXPECT_TRUE(hasWindow(calcTitle));

    h.fake.messages.shown.clear();
    EXPECT_NE(clickDraw(), nullptr);
    EXPECT_TRUE(h.fake.messages.shown.empty()) << "nothing left to ask about";
}

TEST_F(UserPresentation, AModifiedPresentationGetsLibreOfficesSaveQuestionAndStillBlocks) {
    const QString file = presentationFile("Draft.ppt");
    ASSERT_TRUE(s_office->uno({QStringLiteral("open"), file}));
    ASSERT_TRUE(waitForWindow(QStringLiteral("Draft.ppt - LibreOffice Impress"), true));
    ASSERT_TRUE(s_office->uno({QStringLiteral("change-presentations")}));

    h.fake.messages.answers = {Answer::Yes};
    draws::DrawLauncher* l = clickDraw();
    ASSERT_NE(l, nullptr);
    // LibreOffice asks whether to save; the user has not answered, so it stays open.
    EXPECT_TRUE(QTest::qWaitFor([&] { return hasWindow(QStringLiteral("Save Document?")); }, 15000));
    EXPECT_TRUE(hasWindow(QStringLiteral("Draft.ppt - LibreOffice Impress")));

    h.fake.messages.shown.clear();
    l->control<QPushButton>(QStringLiteral("Command12"))->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u) << "the slide draw refuses";
    EXPECT_FALSE(h.fake.messages.shown[0].question);
}

TEST_F(UserPresentation, AWindowManagerCloseOfTheMainWindowAsksTheExitQuestion) {
    MainWindow& main = h.main();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    h.fake.messages.shown.clear();
    ASSERT_TRUE(desktop.requestClose(main.winId()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !h.fake.messages.shown.empty(); }, 10000));
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("      确实要退出Kelvora程序吗? "));
    EXPECT_TRUE(main.isVisible()) << "No keeps the program running";
}

} // namespace
