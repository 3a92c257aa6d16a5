// The real program on the real X display: single instance and the data-file check,
// observed from outside through the windows it opens.
#include "ChildProcesses.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString program = QStringLiteral(VEXLO_PROGRAM);
const QString dataDir = QStringLiteral(VEXLO_DATA_DIR);

// Window ids whose title matches, via xdotool (which reads the X server, not Qt).
// A window is named before it is mapped; only a viewable one can take a person's input.
QStringList windowsNamed(const QString& title, bool onlyViewable = false) {
    QStringList args{QStringLiteral("search"), QStringLiteral("--name"), title};
    if (onlyViewable)
        args.insert(1, QStringLiteral("--onlyvisible"));
    QProcess x;
    x.start(QStringLiteral("xdotool"), args);
    x.waitForFinished(5000);
    return QString::fromLatin1(x.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Waits (bounded) for another process to show a window on the screen; this observes a
// separate program, so there is no timer of ours to fire instead.
QStringList awaitWindow(const QString& title, int ms = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        const QStringList ids = windowsNamed(title, true);
        if (!ids.isEmpty())
            return ids;
        QThread::msleep(100);
    }
    return {};
}

// Clicks at a point given in twips within a window.
void clickAt(const QString& windowId, int leftTwips, int topTwips) {
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QStringLiteral("--window"), windowId,
                       QString::number(leftTwips / 15), QString::number(topTwips / 15), QStringLiteral("click"),
                       QStringLiteral("1")});
}

void pressEnter(const QString& windowId) {
    // Enter typed without the focus would go elsewhere and leave the box waiting.
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                {QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId}),
              0)
        << "the box " << windowId.toStdString() << " takes the focus";
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
}

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs the test X display";
        // The help viewer is started detached; it comes to us when its starter goes.
        testsupport::adoptOrphans();
        for (const QString& f : QDir(dataDir).entryList(QDir::Files))
            QFile::copy(QDir(dataDir).filePath(f), QDir(dir.path()).filePath(f));
    }
    void TearDown() override {
        for (QProcess* p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
        testsupport::endDescendants();
    }
    void launch(QProcess& p, const QString& folder,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder);
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    QTemporaryDir dir;
    QProcess first, second;
};

TEST_F(ProgramStart, ASecondStartShowsOnlyTheF9MessageAndEnds) {
    launch(first, dir.path());
    ASSERT_FALSE(awaitWindow(QStringLiteral("Kelvora工具  演讲计时与随机抽签")).isEmpty());
    launch(second, dir.path());
    const QStringList box = awaitWindow(QStringLiteral("Kelvora工具提示："));
    ASSERT_FALSE(box.isEmpty()) << "the second start explains itself";
    pressEnter(box.first());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first instance is left alone";
    EXPECT_EQ(windowsNamed(QStringLiteral("Kelvora工具  演讲计时与随机抽签")).size(), 1);
}

// Visible windows of one process, by the process id the window carries.
QStringList visibleWindowsOf(const QProcess& p) {
    QProcess x;
    x.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--pid"), QString::number(p.processId())});
    x.waitForFinished(5000);
    return QString::fromLatin1(x.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

TEST_F(ProgramStart, F9DuringTheSecondStartsMessageShowsNoWindowOfIts) {
    launch(first, dir.path());
    ASSERT_FALSE(awaitWindow(QStringLiteral("Kelvora工具  演讲计时与随机抽签")).isEmpty());
    launch(second, dir.path());
    const QStringList box = awaitWindow(QStringLiteral("Kelvora工具提示："));
    ASSERT_FALSE(box.isEmpty());
    // Held long enough for several 100 ms polls to see it.
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("F9")});
    QThread::msleep(600);
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("F9")});
    QThread::msleep(400);
    const QStringList shown = visibleWindowsOf(second);
    EXPECT_EQ(shown.size(), 1) << "only the message: " << shown.join(u' ').toStdString();
    EXPECT_TRUE(box.contains(shown.value(0)));
    pressEnter(box.first());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(ProgramStart, OneInstancePerDisplayHoweverTheSecondStartNamesIt) {
    QString display = qEnvironmentVariable("DISPLAY");
    display = display.section(u'.', 0, 0); // ":N"
    QProcessEnvironment firstEnv = QProcessEnvironment::systemEnvironment();
    firstEnv.insert(QStringLiteral("DISPLAY"), display);
    QProcessEnvironment screenZero = firstEnv, noRuntimeDir = firstEnv;
    screenZero.insert(QStringLiteral("DISPLAY"), display + QStringLiteral(".0"));
    noRuntimeDir.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    launch(first, dir.path(), firstEnv);
    ASSERT_FALSE(awaitWindow(QStringLiteral("Kelvora工具  演讲计时与随机抽签")).isEmpty());
    const struct {
        const char* name;
        QProcessEnvironment env;
    } cases[] = {{"DISPLAY :N.0", screenZero}, {"without XDG_RUNTIME_DIR", noRuntimeDir}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        launch(second, dir.path(), c.env);
        const QStringList box = awaitWindow(QStringLiteral("Kelvora工具提示："));
        ASSERT_FALSE(box.isEmpty()) << "the second start is refused";
        pressEnter(box.first());
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(first.state(), QProcess::Running) << "one survivor, the first";
        EXPECT_EQ(windowsNamed(QStringLiteral("Kelvora工具  演讲计时与随机抽签")).size(), 1);
    }
}

TEST_F(ProgramStart, MissingDataFilesAreNamedAndTheProgramEnds) {
    QFile::remove(QDir(dir.path()).filePath(QStringLiteral("Note2.PPT")));
    launch(first, dir.path());
    const QStringList box = awaitWindow(QStringLiteral("Kelvora工具提示："));
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(windowsNamed(QStringLiteral("演讲计时与随机抽签")).isEmpty()) << "no main window";
    pressEnter(box.first());
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(ProgramStart, HelpOpensTheBundledHelpFileInTheViewer) {
    launch(first, dir.path());
    const QStringList main = awaitWindow(QStringLiteral("Kelvora工具  演讲计时与随机抽签"));
    ASSERT_FALSE(main.isEmpty());
    clickAt(main.first(), 3960 + 290, 1815 + 160); // the Help button
    const QStringList viewer = awaitWindow(QStringLiteral("Kelvora工具 帮助"));
    EXPECT_FALSE(viewer.isEmpty()) << "the help file's own title shows in the viewer";
    EXPECT_EQ(first.state(), QProcess::Running);
}

} // namespace
