#include "FlockInstanceGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSysInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "vexlo.instance")

namespace {
constexpr int kAnswerMs = 3000;
QString socketPath(const QString& lockPath) { return lockPath + QStringLiteral(".sock"); }
QString sanitized(QString text) {
    text.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return text;
}
} // namespace

namespace platform {

FlockInstanceGuard::FlockInstanceGuard(QString lockPath) : m_path(std::move(lockPath)) {}

FlockInstanceGuard::~FlockInstanceGuard() {
    if (m_server)
        m_server->close(); // removes the socket while the lock still says it is ours
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FlockInstanceGuard::displayKey(const QString& display) {
    // ":0", ":0.0", "unix:0" and "localhost:0" all reach display 0 of this machine: the
    // screen number and the spelling of the local host must not make a second instance.
    const int colon = display.lastIndexOf(u':');
    if (colon < 0)
        return display.isEmpty() ? QStringLiteral("nodisplay") : QStringLiteral("raw_") + sanitized(display);
    QString host = display.left(colon).toLower();
    const QString rest = display.mid(colon + 1);
    const QString number = rest.section(u'.', 0, 0);
    bool numeric = false;
    const int n = number.toInt(&numeric);
    if (!numeric || n < 0)
        return QStringLiteral("raw_") + sanitized(display);
    static const QStringList localNames = {QString(), QStringLiteral("unix"), QStringLiteral("localhost"),
                                           QStringLiteral("127.0.0.1"), QStringLiteral("[::1]")};
    // A socket path ("/tmp/.X11-unix/X0" or a launcher's "/private/…/org.x:0") is local too.
    if (localNames.contains(host) || host.startsWith(u'/') || host == QSysInfo::machineHostName().toLower())
        host.clear();
    return (host.isEmpty() ? QString() : sanitized(host) + u'_') + QString::number(n);
}

QString FlockInstanceGuard::lockFolder() {
    // Not taken from XDG_RUNTIME_DIR: a start without it must find the same lock. The
    // user's runtime folder exists while the user has a session; else the shared /tmp.
    const QString runtime = QStringLiteral("/run/user/%1").arg(::getuid());
    const QFileInfo info(runtime);
    if (info.isDir() && info.ownerId() == ::getuid())
        return runtime;
    return QStringLiteral("/tmp");
}

QString FlockInstanceGuard::defaultLockPath() {
    const QString key = displayKey(qEnvironmentVariable("DISPLAY"));
    return QDir(lockFolder()).filePath(QStringLiteral("Vexlo8.12-%1-%2.lock").arg(::getuid()).arg(key));
}

bool FlockInstanceGuard::claim() {
    if (m_fd >= 0)
        return true;
    // Not inherited by children: an office process outliving us must not hold our lock.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // Without a lock file we cannot tell; refusing to start would be worse.
        qCWarning(lcInstance) << "cannot open lock file" << m_path;
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    listen();
    return true;
}

void FlockInstanceGuard::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Whatever lies there was left by an earlier holder: the lock is ours now.
    QLocalServer::removeServer(socketPath(m_path));
    if (!m_server->listen(socketPath(m_path))) {
        qCWarning(lcInstance) << "cannot take requests at" << socketPath(m_path) << m_server->errorString();
        return;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
                if (!peer->canReadLine())
                    return;
                const QString request = QString::fromUtf8(peer->readLine()).trimmed();
                const bool taken = answer(request);
                qCDebug(lcInstance) << "another start asked" << request << (taken ? "and it was done" : "in vain");
                peer->write(taken ? "ok\n" : "no\n");
                peer->flush();
            });
        }
    });
}

bool FlockInstanceGuard::ask(const QString& request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_path));
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kAnswerMs))
            return false;
    return socket.readLine().trimmed() == "ok";
}

} // namespace platform
