#include "LoProcess.h"

#include "office/OfficeLogging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

extern char** environ;

namespace vexlo::office::lo {

namespace {
constexpr int kSlots = 32;

QString lockPath(const QString& profileDir) { return profileDir + QStringLiteral(".lock"); }
QString profileUrl(const QString& dir) { return QUrl::fromLocalFile(dir).toString(QUrl::FullyEncoded); }
} // namespace

std::unique_ptr<ProfileSlot> ProfileSlot::acquire(const QString& root) {
    if (!QDir().mkpath(root)) {
        qCDebug(lcOfficeLo) << "cannot create profile root" << root;
        return nullptr;
    }
    for (int i = 0; i < kSlots; ++i) {
        const QString dir = QDir(root).filePath(QStringLiteral("profile-%1").arg(i));
        const QByteArray lp = QFile::encodeName(lockPath(dir));
        const int fd = ::open(lp.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            QDir().mkpath(dir);
            return std::unique_ptr<ProfileSlot>(new ProfileSlot(dir, fd));
        }
        ::close(fd);
    }
    qCDebug(lcOfficeLo) << "no free profile slot under" << root;
    return nullptr;
}

bool ProfileSlot::inUse(const QString& profileDir) {
    const QByteArray lp = QFile::encodeName(lockPath(QDir::cleanPath(profileDir)));
    const int fd = ::open(lp.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd); // also drops the probe lock
    return busy;
}

ProfileSlot::~ProfileSlot() {
    if (m_fd >= 0) ::close(m_fd);
}

QString ProfileSlot::url() const { return profileUrl(m_dir); }

void ProfileSlot::removeIdlePipeFiles(const QString& root) {
    for (int i = 0; i < kSlots; ++i) {
        const QString dir = QDir(root).filePath(QStringLiteral("profile-%1").arg(i));
        if (QFileInfo::exists(dir) && !inUse(dir)) removePipeFile(singleOfficePipeName(profileUrl(dir)));
    }
}

QList<QByteArray> childEnvironment(const QList<QByteArray>& overrides) {
    QList<QByteArray> env;
    for (char** e = environ; e && *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool replaced = false;
        for (const auto& o : overrides) replaced = replaced || o.startsWith(name);
        if (!replaced) env.append(entry);
    }
    env.append(overrides);
    return env;
}

std::unique_ptr<OfficeProcess> OfficeProcess::spawn(const QString& executable, const QStringList& args,
                                                    const QList<QByteArray>& environment,
                                                    const QString& logFile) {
    // Everything the child touches is prepared before fork: after it only
    // async-signal-safe calls are allowed.
    const QByteArray exe = QFile::encodeName(executable);
    QList<QByteArray> argStore{exe};
    for (const auto& a : args) argStore.append(a.toLocal8Bit());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    QList<QByteArray> envStore = environment;
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    const QByteArray log = QFile::encodeName(logFile);
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid < 0) {
        qCDebug(lcOfficeLo) << "fork failed" << errno;
        return nullptr;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127); // the parent died before the line above
        sigset_t all;
        sigemptyset(&all);
        ::sigprocmask(SIG_SETMASK, &all, nullptr);
        for (int s : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(log.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in >= 0) ::dup2(in, 0);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::closefrom(3);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid); // also here, so the group exists before anyone signals it
    qCDebug(lcOfficeLo) << "started office process" << pid;
    return std::unique_ptr<OfficeProcess>(new OfficeProcess(pid));
}

OfficeProcess::~OfficeProcess() {
    if (!m_reaped) kill();
}

bool OfficeProcess::running() {
    if (m_reaped) return false;
    siginfo_t info{};
    // Look without reaping first: while the child is a zombie its process group id cannot
    // be reused, so helpers it left in the group can be killed safely.
    if (::waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0) {
        // A killed office is a zombie a while before its parent hears of it, until all its
        // threads have gone; it answers nothing from the first moment.
        if (!isZombie()) return true;
        ::kill(-pid_t(m_pid), SIGKILL);
        return !waitForReport(std::chrono::seconds(5));
    }
    if (info.si_pid != 0) ::kill(-pid_t(m_pid), SIGKILL);
    int status = 0;
    if (::waitpid(pid_t(m_pid), &status, 0) == pid_t(m_pid)) {
        if (WIFEXITED(status)) m_exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status)) m_exitCode = 128 + WTERMSIG(status);
    }
    // Anything else (ECHILD): someone else reaped it; it is gone either way.
    m_reaped = true;
    return false;
}

bool OfficeProcess::isZombie() const {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/stat", static_cast<long long>(m_pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0) return false;
    buf[n] = 0;
    const char* close = std::strrchr(buf, ')');
    return close && (close[2] == 'Z' || close[2] == 'X');
}

bool OfficeProcess::waitForReport(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid_t(m_pid), &status, WNOHANG);
        if (r == pid_t(m_pid) || r < 0) {
            if (r == pid_t(m_pid)) {
                if (WIFEXITED(status)) m_exitCode = WEXITSTATUS(status);
                else if (WIFSIGNALED(status)) m_exitCode = 128 + WTERMSIG(status);
            }
            m_reaped = true;
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void OfficeProcess::kill() {
    if (m_reaped) return;
    ::kill(-pid_t(m_pid), SIGKILL);
    ::kill(pid_t(m_pid), SIGKILL);
    if (!waitForExit(std::chrono::seconds(5)))
        qCWarning(lcOfficeLo) << "office process" << m_pid << "did not end after SIGKILL";
}

void removeStalePipeFiles(const QString& prefix) {
    // Pipe names carry the pid of the program that made them ("<prefix><pid>_…").
    const QString pattern = QStringLiteral("OSL_PIPE_%1_%2*").arg(::getuid()).arg(prefix);
    for (const char* dir : {"/tmp", "/var/tmp"}) {
        const QDir d(QString::fromLatin1(dir));
        for (const QString& name : d.entryList({pattern}, QDir::System | QDir::Files | QDir::Hidden)) {
            const qint64 owner = name.section(u'_', 3 + prefix.count(u'_'), 3 + prefix.count(u'_')).toLongLong();
            if (owner <= 0 || owner == ::getpid()) continue;
            if (::kill(pid_t(owner), 0) != 0 && errno == ESRCH) QFile::remove(d.filePath(name));
        }
    }
}

QString singleOfficePipeName(const QString& profileUrl) {
    const QByteArray utf16(reinterpret_cast<const char*>(profileUrl.utf16()), profileUrl.size() * 2);
    QString hex;
    for (const char byte : QCryptographicHash::hash(utf16, QCryptographicHash::Md5))
        hex += QString::number(uchar(byte), 16); // unpadded, as the office writes it
    return QStringLiteral("SingleOfficeIPC_") + hex;
}

void removePipeFile(const QString& pipeName) {
    for (const char* dir : {"/tmp", "/var/tmp"}) {
        const QString path = QStringLiteral("%1/OSL_PIPE_%2_%3").arg(QLatin1String(dir)).arg(::getuid()).arg(pipeName);
        QFile::remove(path);
    }
}

} // namespace vexlo::office::lo
