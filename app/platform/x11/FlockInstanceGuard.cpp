#include "FlockInstanceGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "vexlo.instance")

namespace {
QString sanitized(QString text) {
    text.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return text;
}
} // namespace

namespace platform {

FlockInstanceGuard::FlockInstanceGuard(QString lockPath) : m_path(std::move(lockPath)) {}

FlockInstanceGuard::~FlockInstanceGuard() {
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
    return true;
}

} // namespace platform
