// Runs the real finisher against a temporary "windir" tree. Stand-in Regsvr32.EXE and
// REG.EXE on PATH append their process id and arguments to a record file. The finisher
// does not wait for them, so the test polls that file with a deadline; the start order comes
// from the finisher's own debug log, which names the process id of every command it starts.
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList kComponents = {"MSSTDFMT.DLL", "MSVBVM60.DLL", "COMCTL32.OCX",
                                 "COMDLG32.OCX", "MCI32.OCX",    "SYSTRAY.OCX"};
const QString kLayers = QStringLiteral(
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers");
constexpr int kDeadlineMs = 20000;

QStringList registrationRecords(const QStringList& missing = {}) {
    QStringList records;
    for (const char* name :
         {"MSVBVM60.DLL", "MSSTDFMT.DLL", "SYSTRAY.OCX", "MCI32.OCX", "COMDLG32.OCX", "COMCTL32.OCX"}) {
        if (!missing.contains(name)) records.append(QStringLiteral("Regsvr32.EXE|%1|/s").arg(name));
    }
    return records;
}

QStringList compatibilityRecords(const QString& installDirectory) {
    QStringList records;
    for (const char* exe : {"\\Vexlo7.56.exe", "\\Vexlo7.561.exe"})
        records.append(QStringLiteral("REG.EXE|ADD|%1|/v|%2%3|/t|reg_sz|/d|WINXPSP3|/f")
                           .arg(kLayers, installDirectory, exe));
    return records;
}

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct FinisherRun {
    std::unique_ptr<QProcess> process;
    QString log;

    // Reads the debug log until the line appears or the deadline passes.
    bool waitForLog(const QString& line, int deadlineMs = kDeadlineMs) {
        QDeadlineTimer deadline(deadlineMs);
        while (!log.contains(line) && !deadline.hasExpired()) {
            process->waitForReadyRead(100);
            log += QString::fromUtf8(process->readAllStandardError());
            if (process->state() == QProcess::NotRunning) {
                log += QString::fromUtf8(process->readAllStandardError());
                break;
            }
        }
        return log.contains(line);
    }
    QStringList startedPids() const {
        QStringList pids;
        static const QRegularExpression started("vexlo.finisher: process (\\d+) for ");
        for (auto it = started.globalMatch(log); it.hasNext();)
            pids.append(it.next().captured(1));
        return pids;
    }
    QStringList startedCommands() const {
        QStringList commands;
        for (const QString& line : log.split('\n')) {
            if (line.startsWith("vexlo.finisher: started: "))
                commands.append(line.mid(int(qstrlen("vexlo.finisher: started: "))));
        }
        return commands;
    }
};

class FinisherProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        QDir root(m_root.path());
        for (const char* dir : {"win/system32", "bin", "run", "home", "安装 目录"})
            ASSERT_TRUE(root.mkpath(dir));
        QFile::setPermissions(root.filePath("run"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // Started from a folder of its own, whose name has a blank and Chinese characters.
        ASSERT_TRUE(QFile::copy(VEXLO_FINISHER_BINARY, install("Vexlo")));
        QFile::setPermissions(install("Vexlo"), QFile::permissions(VEXLO_FINISHER_BINARY));
        for (const char* standIn : {"Regsvr32.EXE", "REG.EXE"}) {
            const QString path = root.filePath(QStringLiteral("bin/") + standIn);
            writeFile(path, "#!/bin/sh\n"
                            "line=$(printf '%s|' \"$$\" \"${0##*/}\" \"$@\")\n"
                            "printf '%s\\n' \"${line%|}\" >> \"$VEXLO_TEST_RECORD\"\n");
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        }
    }

    void TearDown() override {
        for (FinisherRun* run : m_runs) {
            if (run->process->state() != QProcess::NotRunning) {
                run->process->kill();
                run->process->waitForFinished();
            }
        }
    }

    QString system32(const QString& name = {}) const { return m_root.filePath("win/system32/" + name); }
    QString install(const QString& name = {}) const { return m_root.filePath("安装 目录/" + name); }
    QString record() const { return m_root.filePath("record"); }
    QString home() const { return m_root.filePath("home"); }

    void putComponents(const QString& directory, const QStringList& names, const QByteArray& contents) {
        for (const QString& name : names)
            writeFile(directory + name, contents + name.toUtf8());
    }

    FinisherRun& start(std::optional<QString> windir) {
        auto run = std::make_unique<FinisherRun>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("windir");
        if (windir) env.insert("windir", *windir);
        env.insert("PATH", m_root.filePath("bin") + ":" + env.value("PATH"));
        env.insert("XDG_RUNTIME_DIR", m_root.filePath("run"));
        env.insert("HOME", home());
        env.remove("XDG_DATA_HOME");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_LOGGING_RULES", "vexlo.finisher.debug=true");
        env.insert("VEXLO_TEST_RECORD", record());
        run->process = std::make_unique<QProcess>();
        run->process->setProcessEnvironment(env);
        run->process->setWorkingDirectory(m_root.path());
        run->process->start(install("Vexlo"), {});
        EXPECT_TRUE(run->process->waitForStarted());
        m_runs.append(run.get());
        m_owned.push_back(std::move(run));
        return *m_owned.back();
    }

    // Waits for the count of records the run's log says were started, then returns them in
    // start order, without the process ids.
    QStringList recordsInStartOrder(const FinisherRun& run) {
        const QStringList pids = run.startedPids();
        QStringList lines;
        QDeadlineTimer deadline(kDeadlineMs);
        do {
            lines = QString::fromUtf8(readFile(record())).split('\n', Qt::SkipEmptyParts);
            if (lines.size() >= pids.size()) break;
            QThread::msleep(20);
        } while (!deadline.hasExpired());
        QHash<QString, QString> byPid;
        for (const QString& line : lines)
            byPid.insert(line.section('|', 0, 0), line.section('|', 1));
        EXPECT_EQ(byPid.size(), lines.size()) << "one record per started process";
        QStringList ordered;
        for (const QString& pid : pids)
            ordered.append(byPid.value(pid, "<no record of process " + pid + ">"));
        EXPECT_EQ(lines.size(), pids.size()) << "records of processes the log does not name";
        return ordered;
    }

    QTemporaryDir m_root;
    QList<FinisherRun*> m_runs;
    std::vector<std::unique_ptr<FinisherRun>> m_owned;
};

TEST_F(FinisherProcessTest, AllPresent_NothingCopiedSixRegistrationsAndBothEntriesForItsOwnFolder) {
    QDir(m_root.path()).mkpath("win/syswow64");
    putComponents(system32(), kComponents + QStringList{"REG.EXE"}, "installed ");
    putComponents(install(), kComponents, "shipped ");
    const QStringList before =
        QDir(system32()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    FinisherRun& run = start(m_root.filePath("win"));
    ASSERT_TRUE(run.waitForLog("Timer1 enabled")) << run.log.toStdString();

    EXPECT_EQ(recordsInStartOrder(run), registrationRecords() + compatibilityRecords(install().chopped(1)));
    EXPECT_EQ(QDir(system32()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    for (const QString& name : kComponents)
        EXPECT_EQ(readFile(system32(name)), "installed " + name.toUtf8());
    EXPECT_TRUE(run.log.contains("Label1: 您当前使用的是64位的Windows操作系统"));
    EXPECT_EQ(run.process->state(), QProcess::Running) << "closes only after 13 ticks";
}

TEST_F(FinisherProcessTest, CopiesWhatIsMissingAndSkipsAComponentFoundNowhere) {
    putComponents(system32(), {"MSVBVM60.DLL", "REG.EXE"}, "installed ");
    putComponents(install(), QStringList(kComponents).filter(QRegularExpression("^(?!MCI32)")), "shipped ");

    FinisherRun& run = start(m_root.filePath("win"));
    ASSERT_TRUE(run.waitForLog("Timer1 enabled")) << run.log.toStdString();

    EXPECT_EQ(recordsInStartOrder(run),
              registrationRecords({"MCI32.OCX"}) + compatibilityRecords(install().chopped(1)));
    EXPECT_EQ(readFile(system32("MSVBVM60.DLL")), "installed MSVBVM60.DLL");
    for (const char* name : {"MSSTDFMT.DLL", "COMCTL32.OCX", "COMDLG32.OCX", "SYSTRAY.OCX"})
        EXPECT_EQ(readFile(system32(name)), "shipped " + QByteArray(name)) << name;
    EXPECT_FALSE(QFile::exists(system32("MCI32.OCX")));
    EXPECT_TRUE(run.log.contains("Label1: 您当前使用的是32位的Windows操作系统"));
    EXPECT_TRUE(run.log.contains("MCI32.OCX：安装目录中没有此文件"));
}

TEST_F(FinisherProcessTest, WithoutRegExeInTheSystemFolderNoCompatibilityCommand) {
    putComponents(system32(), kComponents, "installed ");

    FinisherRun& run = start(m_root.filePath("win"));
    ASSERT_TRUE(run.waitForLog("Timer1 enabled")) << run.log.toStdString();

    EXPECT_EQ(recordsInStartOrder(run), registrationRecords());
    EXPECT_EQ(run.startedCommands().filter("REG.EXE"), QStringList{});
    EXPECT_EQ(run.process->state(), QProcess::Running);
}

TEST_F(FinisherProcessTest, MixedCaseTreeAndARegistrationProgramNotOnThePath) {
    QDir win(m_root.filePath("win"));
    ASSERT_TRUE(win.rename("system32", "System32") && win.mkdir("SysWOW64"));
    ASSERT_TRUE(QFile::remove(m_root.filePath("bin/Regsvr32.EXE")));
    putComponents(win.filePath("System32/"), {"msvbvm60.dll", "Reg.Exe"}, "installed ");
    putComponents(install(), kComponents, "shipped ");

    FinisherRun& run = start(win.path());
    ASSERT_TRUE(run.waitForLog("Timer1 enabled")) << run.log.toStdString();

    EXPECT_EQ(recordsInStartOrder(run), compatibilityRecords(install().chopped(1)));
    EXPECT_EQ(readFile(win.filePath("System32/MCI32.OCX")), "shipped MCI32.OCX");
    QStringList folders = win.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    EXPECT_EQ(folders, QStringList({"SysWOW64", "System32"})) << "no second system folder";
    EXPECT_TRUE(run.log.contains("Label1: 您当前使用的是64位的Windows操作系统"));
    for (const char* name :
         {"MSVBVM60.DLL", "MSSTDFMT.DLL", "SYSTRAY.OCX", "MCI32.OCX", "COMDLG32.OCX", "COMCTL32.OCX"})
        EXPECT_TRUE(run.log.contains(QStringLiteral("%1：无法启动“Regsvr32.EXE”").arg(name))) << name;
}

TEST_F(FinisherProcessTest, WithoutWindirChecksThisSystemOnceAndWritesOnlyIntoTheDataFolder) {
    putComponents(install(), kComponents, "shipped ");
    const bool rootHadSystem32 = QFile::exists("/system32");

    FinisherRun& run = start(std::nullopt);
    ASSERT_TRUE(run.waitForLog("Label1: ")) << run.log.toStdString();
    FinisherRun& second = start(std::nullopt);
    ASSERT_TRUE(second.process->waitForFinished(kDeadlineMs));
    EXPECT_EQ(second.process->exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(second.process->readAllStandardError()), QString()) << "ends silently";
    // The real checks start this machine's office once.
    ASSERT_TRUE(run.waitForLog("Timer1 enabled", 4 * kDeadlineMs)) << run.log.toStdString();

    EXPECT_EQ(run.startedCommands(), QStringList{});
    EXPECT_FALSE(QFile::exists(record()));
    EXPECT_EQ(QFile::exists("/system32"), rootHadSystem32);
    EXPECT_TRUE(run.log.contains(QRegularExpression("Label1: 您当前使用的是(64|32)位的Linux操作系统")));
    EXPECT_TRUE(run.log.contains("component LibreOffice 办公程序（UNO 接口） present"))
        << run.log.toStdString();
    QStringList written;
    for (QDirIterator it(home(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        written.append(QDir(home()).relativeFilePath(it.next()));
    written.sort();
    EXPECT_EQ(written, QStringList({".local", ".local/share", ".local/share/vexlo",
                                    ".local/share/vexlo/.finisher.lock"}));
}

TEST_F(FinisherProcessTest, SecondInstanceEndsAtOnceAndSilently) {
    putComponents(system32(), kComponents + QStringList{"REG.EXE"}, "installed ");
    FinisherRun& first = start(m_root.filePath("win"));
    ASSERT_TRUE(first.waitForLog("Timer1 enabled")) << first.log.toStdString();

    FinisherRun& second = start(m_root.filePath("win"));
    ASSERT_TRUE(second.process->waitForFinished(kDeadlineMs));
    second.log += QString::fromUtf8(second.process->readAllStandardError());

    EXPECT_EQ(second.process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process->exitCode(), 0);
    EXPECT_EQ(second.log, QString()) << "no window, no message, no command";
    EXPECT_EQ(first.process->state(), QProcess::Running);
    EXPECT_EQ(recordsInStartOrder(first).size(), 8);
}

TEST_F(FinisherProcessTest, ACrashedInstanceDoesNotBlockTheNextStart) {
    putComponents(system32(), kComponents, "installed ");
    FinisherRun& crashed = start(m_root.filePath("win"));
    ASSERT_TRUE(crashed.waitForLog("Timer1 enabled")) << crashed.log.toStdString();
    crashed.process->kill();
    ASSERT_TRUE(crashed.process->waitForFinished());

    FinisherRun& next = start(m_root.filePath("win"));
    EXPECT_TRUE(next.waitForLog("Timer1 enabled")) << next.log.toStdString();
    EXPECT_EQ(next.startedCommands().size(), 6);
}

} // namespace
