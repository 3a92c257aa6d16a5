#include "LinuxProcesses.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcProcesses, "vexlo.processes")

namespace platform {

namespace {

// What /proc/<pid>/stat tells about a process; the name field may hold blanks and
// parentheses, so the fields are counted from the last ')'.
struct ProcStat {
    char state = '?';
    unsigned long flags = 0;
    unsigned long long startTime = 0;
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
    // Fields after the name: 3 state, 4 ppid, ... 9 flags, ... 22 start time.
    const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
    if (fields.size() < 20)
        return std::nullopt;
    ProcStat stat;
    stat.state = fields[0].isEmpty() ? '?' : fields[0][0];
    stat.flags = fields[6].toULong();
    stat.startTime = fields[19].toULongLong();
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

// A process handle that cannot be confused with a later process reusing the number.
int openPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

bool signalPidFd(int fd, int sig) {
#ifdef SYS_pidfd_send_signal
    return ::syscall(SYS_pidfd_send_signal, fd, sig, nullptr, 0) == 0;
#else
    (void)fd;
    (void)sig;
    return false;
#endif
}

struct Victim {
    pid_t pid;
    int pidFd;                    // -1 where the kernel offers none
    unsigned long long startTime; // identifies the process without a handle
};

void signalVictim(const Victim& v, int sig) {
    if (v.pidFd >= 0) {
        signalPidFd(v.pidFd, sig);
        return;
    }
    const auto now = readStat(QStringLiteral("/proc/%1").arg(v.pid));
    if (now && now->startTime == v.startTime)
        ::kill(v.pid, sig);
}

// Waits up to the grace for the asked processes to end, then forces those still there.
void forceAfterGrace(std::vector<Victim> victims, int graceMs) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(graceMs);
    std::vector<pollfd> open;
    for (const Victim& v : victims) {
        if (v.pidFd >= 0)
            open.push_back({v.pidFd, POLLIN, 0});
    }
    const bool allHaveHandles = open.size() == victims.size();
    if (allHaveHandles) {
        // A process handle turns readable when the process ends.
        while (!open.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
            if (left <= 0)
                break;
            const int ready = ::poll(open.data(), open.size(), static_cast<int>(left));
            if (ready < 0 && errno != EINTR)
                break;
            std::erase_if(open, [](const pollfd& p) { return p.revents != 0; });
        }
    } else {
        std::this_thread::sleep_until(deadline);
    }
    int forced = 0;
    for (const Victim& v : victims) {
        const bool ended = allHaveHandles && std::none_of(open.begin(), open.end(),
                                                          [&](const pollfd& p) { return p.fd == v.pidFd; });
        if (!ended) {
            signalVictim(v, SIGKILL);
            ++forced;
        }
        if (v.pidFd >= 0)
            ::close(v.pidFd);
    }
    if (forced)
        qCDebug(lcProcesses) << "forced" << forced << "processes that did not end within" << graceMs << "ms";
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

void LinuxProcesses::terminate(const QString& exeName, const QList<qint64>& spared) {
    const auto entries = snapshot();
    if (!entries)
        return;
    std::vector<Victim> victims;
    for (const ProcessEntry& e : *entries) {
        if (e.exeName.compare(exeName, Qt::CaseInsensitive) != 0 || spared.contains(e.pid) ||
            e.pid == QCoreApplication::applicationPid())
            continue;
        const auto pid = static_cast<pid_t>(e.pid);
        const QString dir = QStringLiteral("/proc/%1").arg(pid);
        const auto stat = readStat(dir);
        if (!stat)
            continue; // ended since the snapshot
        const int fd = openPidFd(pid);
        // The handle is the process seen in the snapshot only while the number still
        // names a process of that name.
        if (exeNameOf(dir).compare(exeName, Qt::CaseInsensitive) != 0) {
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        victims.push_back({pid, fd, stat->startTime});
    }
    if (victims.empty())
        return;
    // Asked first, so a program can write its recovery data; forced after the grace.
    for (const Victim& v : victims)
        signalVictim(v, SIGTERM);
    qCDebug(lcProcesses) << "asked" << victims.size() << exeName << "processes to end";
    std::thread(forceAfterGrace, std::move(victims), m_graceMs).detach();
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
