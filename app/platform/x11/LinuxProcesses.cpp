#include "LinuxProcesses.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QUrl>

#include <chrono>
#include <csignal>
#include <thread>

Q_LOGGING_CATEGORY(lcProcesses, "vexlo.processes")

namespace platform {

namespace {

// The executable's file name: from the link to the binary where we may read it, else
// from the command line, else the kernel's short name.
QString exeNameOf(const QString& procDir) {
    const QString target = QFileInfo(procDir + QStringLiteral("/exe")).symLinkTarget();
    if (!target.isEmpty())
        return QFileInfo(target).fileName();
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
        const QString exe = exeNameOf(proc.filePath(name));
        if (!exe.isEmpty()) // gone meanwhile, or a kernel thread
            entries.push_back({pid, exe});
    }
    return entries;
}

void LinuxProcesses::terminate(const QString& exeName, const QList<qint64>& spared) {
    const auto entries = snapshot();
    if (!entries)
        return;
    std::vector<pid_t> victims;
    for (const ProcessEntry& e : *entries) {
        if (e.exeName.compare(exeName, Qt::CaseInsensitive) == 0 && !spared.contains(e.pid) &&
            e.pid != QCoreApplication::applicationPid())
            victims.push_back(static_cast<pid_t>(e.pid));
    }
    if (victims.empty())
        return;
    // Asked first, so a program can write its recovery data; forced after the grace.
    for (pid_t pid : victims)
        ::kill(pid, SIGTERM);
    qCDebug(lcProcesses) << "asked" << victims.size() << exeName << "processes to end";
    std::thread([victims, grace = m_graceMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(grace));
        for (pid_t pid : victims)
            ::kill(pid, SIGKILL);
    }).detach();
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
