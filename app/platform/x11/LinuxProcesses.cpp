#include "LinuxProcesses.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QUrl>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcProcesses, "vexlo.processes")

namespace platform {

namespace {

// What /proc/<pid>/stat tells about a process; the name field may hold blanks and
// parentheses, so the fields are counted from the last ')'.
struct ProcStat {
    char state = '?';
    unsigned long flags = 0;
};

constexpr unsigned long kernelThreadFlag = 0x00200000; // PF_KTHREAD

std::optional<ProcStat> readStat(const QString& procDir) {
    QFile file(procDir + QStringLiteral("/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = file.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    // Fields after the name: 3 state, 4 ppid, ... 9 flags.
    const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
    if (fields.size() < 7)
        return std::nullopt;
    ProcStat stat;
    stat.state = fields[0].isEmpty() ? '?' : fields[0][0];
    stat.flags = fields[6].toULong();
    return stat;
}

// The executable's file name: from the link to the binary where we may read it (a
// binary replaced by an update keeps its name), else from the command line, else the
// kernel's short name.
QString exeNameOf(const QString& procDir) {
    const QByteArray link = QFile::encodeName(procDir + QStringLiteral("/exe"));
    char target[4096];
    const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
    if (n > 0) {
        QString path = QFile::decodeName(QByteArray(target, static_cast<int>(n)));
        static const QString deleted = QStringLiteral(" (deleted)");
        if (path.endsWith(deleted))
            path.chop(deleted.size());
        return QFileInfo(path).fileName();
    }
    QFile cmdline(procDir + QStringLiteral("/cmdline"));
    if (cmdline.open(QIODevice::ReadOnly)) {
        const QByteArray argv0 = cmdline.readAll().split('\0').value(0);
        if (!argv0.isEmpty())
            return QFileInfo(QString::fromLocal8Bit(argv0)).fileName();
    }
    QFile comm(procDir + QStringLiteral("/comm"));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromLocal8Bit(comm.readAll()).trimmed();
    return {};
}

} // namespace

std::optional<std::vector<ProcessEntry>> LinuxProcesses::snapshot() {
    QDir proc(QStringLiteral("/proc"));
    if (!proc.exists())
        return std::nullopt;
    std::vector<ProcessEntry> entries;
    const QStringList dirs = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : dirs) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QString dir = proc.filePath(name);
        const auto stat = readStat(dir);
        // Gone meanwhile; ended and waiting to be reaped; or part of the kernel.
        if (!stat || stat->state == 'Z' || stat->state == 'X' || (stat->flags & kernelThreadFlag))
            continue;
        const QString exe = exeNameOf(dir);
        if (!exe.isEmpty())
            entries.push_back({pid, exe});
    }
    return entries;
}

bool LinuxProcesses::startDetached(const QString& commandLine) {
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    const bool ok = QProcess::startDetached(program, args);
    if (!ok)
        qCDebug(lcProcesses) << "could not start" << commandLine;
    return ok;
}

bool LinuxProcesses::openDocument(const QString& documentOrAddress) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(documentOrAddress, QDir::currentPath()));
}

} // namespace platform
