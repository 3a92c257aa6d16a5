#include "OfficeBridgeProbe.h"

#include "Logging.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// soffice.bin asks to be started again once a fresh profile is laid out.
constexpr int kRestartExitCode = 81;
constexpr int kMaxRestarts = 2;
constexpr int kPollMs = 50;
constexpr int kEndWaitMs = 3000;
// The first thing the office's bridge sends on a new connection is a protocol-properties
// request, so reading it shows that the bridge itself, not only the socket, is alive.
constexpr char kBridgeGreeting[] = "com.sun.star.bridge.XProtocolProperties";

class Socket {
public:
    Socket() : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool bridgeAnswers(const QString& socketPath, const std::stop_token& stop, const QDeadlineTimer& deadline) {
    Socket socket;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    if (socket.fd() < 0 || path.size() >= qsizetype(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        qCDebug(lcFinisher) << "cannot connect to the office's pipe:" << std::strerror(errno);
        return false;
    }
    QByteArray received;
    while (!stop.stop_requested() && !deadline.hasExpired()) {
        pollfd ready{socket.fd(), POLLIN, 0};
        if (::poll(&ready, 1, kPollMs) <= 0) continue;
        char buffer[512];
        const ssize_t got = ::recv(socket.fd(), buffer, sizeof buffer, 0);
        if (got <= 0) break;
        received.append(buffer, got);
        if (received.contains(kBridgeGreeting)) return true;
    }
    qCDebug(lcFinisher) << "the office's pipe gave no bridge greeting;" << received.size() << "bytes";
    return false;
}

// The pipes the office listens on: the one we named and the single-instance pipe it names
// after its profile. A signalled office leaves them behind, so they are looked up in its open
// descriptors while it runs and removed once it has ended.
QStringList pipesOf(qint64 pid, const QString& pipePrefix) {
    QSet<QByteArray> inodes;
    const QString fdFolder = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fdFolder).entryList(QDir::System | QDir::NoDotAndDotDot)) {
        char target[64] = {};
        const QByteArray link = QFile::encodeName(fdFolder + u'/' + fd);
        const ssize_t size = ::readlink(link.constData(), target, sizeof target - 1);
        const QByteArray text(target, size > 0 ? size : 0);
        if (text.startsWith("socket:[")) inodes.insert(text.mid(8).chopped(1));
    }
    QStringList pipes;
    QFile table(QStringLiteral("/proc/net/unix"));
    if (inodes.isEmpty() || !table.open(QIODevice::ReadOnly)) return pipes;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 8 || !inodes.contains(fields[6])) continue;
        const QString path = QFile::decodeName(fields[7]);
        if (path.startsWith(pipePrefix)) pipes.append(path);
    }
    return pipes;
}

void endOffice(QProcess& office) {
    if (office.state() == QProcess::NotRunning) return;
    office.terminate(); // SIGTERM to this office's own pid; the profile is ours, nothing is lost
    if (!office.waitForFinished(kEndWaitMs)) {
        office.kill();
        office.waitForFinished(kEndWaitMs);
    }
    qCDebug(lcFinisher) << "office ended, exit code" << office.exitCode();
}

} // namespace

OfficeBridgeProbe::OfficeBridgeProbe(QString programDir, QString dataFolder,
                                     std::chrono::milliseconds startLimit)
    : m_programDir(std::move(programDir)), m_dataFolder(std::move(dataFolder)), m_startLimit(startLimit) {}

QString OfficeBridgeProbe::name() const {
    return QStringLiteral("LibreOffice 办公程序（UNO 接口）");
}

QString OfficeBridgeProbe::package() const {
    return QStringLiteral("libreoffice-core");
}

bool OfficeBridgeProbe::isPresent(std::stop_token stop) {
    const QString executable = QDir(m_programDir).filePath(QStringLiteral("soffice.bin"));
    if (!QFileInfo(executable).isExecutable()) {
        qCDebug(lcFinisher).noquote() << "no office program at" << executable;
        return false;
    }
    if (!QDir().mkpath(m_dataFolder)) return false;
    QTemporaryDir profile(m_dataFolder + QStringLiteral("/.finisher-office-XXXXXX"));
    if (!profile.isValid()) {
        qCDebug(lcFinisher).noquote() << "no throw-away profile in" << m_dataFolder << profile.errorString();
        return false;
    }
    const QString pipeName = QStringLiteral("vexlofinisher_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate());
    const QString pipePrefix = QStringLiteral("/tmp/OSL_PIPE_%1_").arg(::getuid());
    const QString socketPath = pipePrefix + pipeName;

    QProcess office;
    office.setProgram(executable);
    office.setArguments({QStringLiteral("--headless"), QStringLiteral("--invisible"),
                         QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                         QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                         QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded),
                         QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName)});
    office.setStandardOutputFile(QProcess::nullDevice());
    office.setStandardErrorFile(QProcess::nullDevice());
    // What the office writes besides its profile (a config folder in the home folder, a desktop
    // settings file in the runtime folder) stays in the throw-away folder too.
    const QString runtime = profile.filePath(QStringLiteral("runtime"));
    QDir().mkdir(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), profile.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), profile.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), profile.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    office.setProcessEnvironment(environment);

    const QDeadlineTimer deadline(m_startLimit);
    bool answered = false;
    int restarts = 0;
    office.start();
    bool running = office.waitForStarted();
    while (running && !stop.stop_requested() && !deadline.hasExpired()) {
        if (QFileInfo::exists(socketPath)) {
            answered = bridgeAnswers(socketPath, stop, deadline);
            break;
        }
        if (office.state() == QProcess::NotRunning) {
            if (office.exitStatus() == QProcess::NormalExit && office.exitCode() == kRestartExitCode &&
                restarts++ < kMaxRestarts) {
                office.start();
                running = office.waitForStarted();
                continue;
            }
            qCDebug(lcFinisher) << "office ended while starting, exit code" << office.exitCode();
            break;
        }
        office.waitForFinished(kPollMs); // the wait between looks at the pipe
    }
    if (!answered && deadline.hasExpired()) qCDebug(lcFinisher) << "office did not answer in time";
    QStringList pipes = {socketPath};
    if (office.state() != QProcess::NotRunning) pipes += pipesOf(office.processId(), pipePrefix);
    endOffice(office);
    for (const QString& pipe : pipes)
        QFile::remove(pipe);
    return answered;
}
