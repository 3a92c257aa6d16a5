// The shared scenarios against real LibreOffice, and what only the real backend has:
// private processes, deadlines on calls, cleanup when this program dies, encryption on disk.

#include "ChildProcesses.h"
#include "LibreOfficeTestBackend.h"
#include "PresentationScenarios.h"
#include "SpreadsheetScenarios.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSet>
#include <QThread>

#include <functional>

#include <signal.h>

INSTANTIATE_TYPED_TEST_SUITE_P(LibreOffice, SpreadsheetScenarios, LibreOfficeBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(LibreOffice, PresentationScenarios, LibreOfficeBackend);

namespace {

class EndOfficesAfterRun : public ::testing::Environment {
public:
    void SetUp() override {
        // A missing LibreOffice is a failure, never a skip.
        ASSERT_TRUE(QFileInfo(QStringLiteral("/usr/lib/libreoffice/program/soffice.bin")).isExecutable())
            << "LibreOffice is not installed";
    }
    void TearDown() override { LibreOfficeTestBackend::get().shutdown(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EndOfficesAfterRun);

QString commandLineOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(f.readAll()).replace(QChar(0), QChar(' '));
}

QString executableNameOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/comm").arg(pid));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()).trimmed() : QString();
}

bool waitUntilGone(qint64 pid, int ms) {
    QDeadlineTimer deadline(ms);
    while (processAlive(pid) && !deadline.hasExpired()) QThread::msleep(20);
    return !processAlive(pid);
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QThread::msleep(50);
    return done();
}

QSet<QString> officePipeFiles() {
    const QStringList names = QDir(QStringLiteral("/tmp")).entryList({QStringLiteral("OSL_PIPE_*")}, QDir::System);
    return {names.begin(), names.end()};
}

// Pipe files that appeared since `before` and that no live office listens on any more.
QStringList deadPipeFiles(const QSet<QString>& before) {
    QFile table(QStringLiteral("/proc/net/unix"));
    const QByteArray bound = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    QStringList dead;
    for (const QString& name : officePipeFiles() - before)
        if (!bound.contains(QFile::encodeName(QStringLiteral("/tmp/") + name))) dead.append(name);
    return dead;
}

class LibreOfficeOnly : public OfficeScenario<LibreOfficeBackend> {
protected:
    LibreOfficeSuite& lo() { return LibreOfficeTestBackend::get().lo(); }
};

TEST_F(LibreOfficeOnly, OwnProgramsArePrivateSofficeProcessesWithReusedProfiles) {
    ASSERT_TRUE(backend().writeWorkbook(path("warm.xls"), nameListContent(), kPassword)); // writer office up
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    EXPECT_TRUE(lo().profileRoot().startsWith(cache + '/')) << lo().profileRoot().toStdString();

    QString firstProfile;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto app = suite().createSpreadsheetApp();
        ASSERT_TRUE(app);
        const qint64 pid = app->ProcessId();
        EXPECT_TRUE(suite().ownProcessIds().contains(pid));
        EXPECT_EQ(executableNameOf(pid), suite().presentationProcessName());
        const QString cmd = commandLineOf(pid);
        EXPECT_TRUE(cmd.contains("-env:UserInstallation=file://" + lo().profileRoot() + "/profile-")) << cmd.toStdString();
        EXPECT_TRUE(cmd.contains("--accept=pipe,name=vexlo_")) << cmd.toStdString();
        const QString profile = cmd.section("-env:UserInstallation=file://", 1).section(' ', 0, 0);
        if (round == 0) firstProfile = profile;
        else EXPECT_EQ(profile, firstProfile) << "the profile is reused, so later starts are warm";
        // Two programs at once never share a profile.
        auto second = suite().createSpreadsheetApp();
        ASSERT_TRUE(second);
        EXPECT_FALSE(commandLineOf(second->ProcessId()).contains(profile + ' '));
        EXPECT_TRUE(second->Quit());
        EXPECT_TRUE(app->Quit());
        EXPECT_FALSE(processAlive(pid));
    }
}

TEST_F(LibreOfficeOnly, AnOfficeStartedAheadIsTakenOnceAndOneNobodyTakesIsEnded) {
    const QList<qint64> before = testsupport::childrenNamed("soffice.bin");
    auto mine = [&before] {
        QList<qint64> now = testsupport::childrenNamed("soffice.bin");
        for (qint64 pid : before) now.removeAll(pid);
        return now;
    };
    {
        LibreOfficeSuite own;
        own.warmUp(OfficeKind::Presentation);
        own.warmUp(OfficeKind::Presentation); // still starting: no second one
        // Counted as ours once started, before anyone took it.
        auto started = [&] { return mine().size() == 1 && own.ownProcessIds().contains(mine().value(0)); };
        ASSERT_TRUE(waitFor(started, 60000)) << "started ahead";
        const qint64 ahead = mine().value(0);
        auto app = own.createPresentationApp();
        ASSERT_TRUE(app);
        EXPECT_EQ(app->ProcessId(), ahead) << "the program started ahead is the one taken";
        EXPECT_EQ(mine(), QList{ahead});

        // Dropped while it starts: it ends once started, and nothing waited for it.
        own.warmUp(OfficeKind::Spreadsheet);
        ASSERT_TRUE(waitFor([&] { return mine().size() == 2; }, 30000));
        QElapsedTimer dropping;
        dropping.start();
        own.dropWarmedUp();
        EXPECT_LT(dropping.elapsed(), 1000);
        EXPECT_TRUE(waitFor([&] { return mine() == QList{ahead}; }, 60000)) << "the untaken program is ended";

        // One left waiting goes with the suite, as at the program's end.
        own.warmUp(OfficeKind::Spreadsheet);
        ASSERT_TRUE(waitFor([&] { return mine().size() == 2; }, 60000));
    }
    EXPECT_TRUE(waitFor([&] { return mine().isEmpty(); }, 10000)) << "no office outlives its suite";
}

TEST_F(LibreOfficeOnly, HungProgramMakesTheCallFailAndIsKilled) {
    LibreOfficeOptions o;
    o.callTimeout = std::chrono::milliseconds(1500);
    LibreOfficeSuite quick(o);
    const QString file = writeNameList();
    const QSet<QString> pipesBefore = officePipeFiles();
    auto app = quick.createSpreadsheetApp();
    ASSERT_TRUE(app);
    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    auto sheet = wb->SelectWorksheet("sheet1");
    ASSERT_TRUE(sheet);
    const qint64 pid = app->ProcessId();
    ::kill(pid_t(pid), SIGSTOP); // alive but answering nothing, like an office behind a dialog
    EXPECT_FALSE(sheet->Value(10, 4));
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(processAlive(pid)) << "the stuck office is killed, not left behind";
    const QStringList dead = deadPipeFiles(pipesBefore);
    EXPECT_TRUE(dead.isEmpty()) << "its pipe files are left: " << dead.join(u' ').toStdString();
    EXPECT_FALSE(sheet->Value(10, 4));
    EXPECT_FALSE(quick.attachRunningSpreadsheet());
    // The handle's next opening gets a working program, and the killed one's lock is cleared.
    auto again = app->Open(file, kPassword);
    ASSERT_TRUE(again);
    auto s2 = again->SelectWorksheet("sheet1");
    ASSERT_TRUE(s2);
    EXPECT_TRUE(s2->SetValue(13, 3, 5));
    EXPECT_TRUE(again->Save()) << "not opened read-only because of a stale lock";
    EXPECT_TRUE(app->Quit());
}

TEST_F(LibreOfficeOnly, ProgramDeathTakesItsOfficesAlong) {
    for (const char* how : {"exit", "abort", "kill"}) {
        SCOPED_TRACE(how);
        QProcess helper;
        helper.start(QStringLiteral(OFFICE_CRASH_HELPER), {QString::fromLatin1(how)});
        ASSERT_TRUE(helper.waitForStarted(5000));
        ASSERT_TRUE(helper.waitForReadyRead(60000)) << helper.readAllStandardError().toStdString();
        const qint64 pid = helper.readLine().trimmed().toLongLong();
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(helper.waitForFinished(30000));
        EXPECT_TRUE(waitUntilGone(pid, 10000)) << "office " << pid << " outlived the program";
    }
}

TEST_F(LibreOfficeOnly, WorkbookStaysEncryptedOnDisk) {
    const QString marker = QStringLiteral("VexloPlainMarker");
    auto containsMarker = [&](const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return true;
        const QByteArray bytes = f.readAll();
        return bytes.contains(marker.toLatin1()) ||
               bytes.contains(QByteArray(reinterpret_cast<const char*>(marker.utf16()), marker.size() * 2));
    };
    WorkbookContent content = nameListContent();
    content.sheets[0].set(20, 2, marker);
    const QString plain = path("plain.xls"), secret = path("secret.xls");
    ASSERT_TRUE(backend().writeWorkbook(plain, content, QString()));
    ASSERT_TRUE(backend().writeWorkbook(secret, content, kPassword));
    EXPECT_TRUE(containsMarker(plain)) << "the check itself can see plain text";
    EXPECT_FALSE(containsMarker(secret));
    EXPECT_FALSE(lo().writeWorkbook(path("long.xls"), content, QStringLiteral("0123456789abcdef")))
        << "a password the format would drop is refused";

    auto app = suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    auto sheet = app->Open(secret, kPassword)->SelectWorksheet("sheet1");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->SetValue(21, 2, marker));
    EXPECT_TRUE(app->SaveActiveWorkbook());
    EXPECT_TRUE(app->Quit());
    EXPECT_FALSE(containsMarker(secret));
    EXPECT_FALSE(QFileInfo::exists(LibreOfficeTestBackend::lockFileOf(secret))) << "quit leaves no lock file";
}

} // namespace
