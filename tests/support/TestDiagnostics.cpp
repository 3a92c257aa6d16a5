// Linked into every test program: keeps what is needed to understand a failure that
// happened on somebody else's machine. Each test's Qt messages (debug ones included,
// where the test's environment turns them on) are held in memory; when the test fails
// they are written to the test's diagnostics folder together with a screenshot of the
// display, and the folder is named at the end of the run.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

extern char** environ;

namespace {

QMutex g_mutex;
QByteArray g_messages;
QtMessageHandler g_previous = nullptr;

void keepMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    {
        QMutexLocker lock(&g_mutex);
        g_messages += qFormatLogMessage(type, context, text).toUtf8() + '\n';
    }
    // Warnings and worse still reach the test's output as before.
    if (type != QtDebugMsg && type != QtInfoMsg && g_previous)
        g_previous(type, context, text);
}

QString safeName(const testing::TestInfo& info) {
    QString name = QString::fromUtf8(info.test_suite_name()) + u'.' + QString::fromUtf8(info.name());
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'.' && c != u'_' && c != u'-')
            c = u'_';
    return name;
}

void screenshot(const QString& path) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        return;
    const QByteArray file = QFile::encodeName(path);
    char* argv[] = {const_cast<char*>("import"), const_cast<char*>("-window"), const_cast<char*>("root"),
                    const_cast<char*>(file.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "import", nullptr, nullptr, argv, environ) == 0)
        waitpid(pid, nullptr, 0);
}

class Diagnostics : public testing::EmptyTestEventListener {
    void OnTestProgramStart(const testing::UnitTest&) override {
        // The program's own debug lines are what explains a failure; they are only kept.
        QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*.debug=true"));
    }

    void OnTestStart(const testing::TestInfo& info) override {
        QMutexLocker lock(&g_mutex);
        g_messages.clear();
        m_current = &info;
        m_shot = false;
    }

    // The screen as it was when the first check failed, before the test's clean-up
    // closes what it showed.
    void OnTestPartResult(const testing::TestPartResult& result) override {
        // Called with the test runner's lock held: the test is the one last started.
        const testing::TestInfo* info = m_current;
        if (!result.failed() || m_shot || !info)
            return;
        const QString dir = artifactsDir();
        if (dir.isEmpty())
            return;
        m_shot = true;
        screenshot(QDir(dir).filePath(safeName(*info) + QStringLiteral(".png")));
    }

    void OnTestEnd(const testing::TestInfo& info) override {
        if (!info.result()->Failed())
            return;
        const QString dir = artifactsDir();
        if (dir.isEmpty())
            return;
        QFile log(QDir(dir).filePath(safeName(info) + QStringLiteral(".log")));
        if (log.open(QIODevice::WriteOnly)) {
            QMutexLocker lock(&g_mutex);
            log.write(g_messages);
        }
        m_kept = dir;
    }

    void OnTestProgramEnd(const testing::UnitTest&) override {
        if (!m_kept.isEmpty())
            std::printf("diagnostics of the failed tests (log, screenshot): %s\n", qPrintable(m_kept));
    }

    static QString artifactsDir() {
        const QString dir = QString::fromLocal8Bit(qgetenv("VEXLO_TEST_ARTIFACTS"));
        return !dir.isEmpty() && QDir().mkpath(dir) ? dir : QString();
    }

    QString m_kept;
    const testing::TestInfo* m_current = nullptr;
    bool m_shot = false;
};

const bool g_installed = [] {
    g_previous = qInstallMessageHandler(keepMessage);
    testing::UnitTest::GetInstance()->listeners().Append(new Diagnostics);
    return true;
}();

} // namespace
