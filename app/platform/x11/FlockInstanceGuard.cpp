#include "FlockInstanceGuard.h"

#include <QDir>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "vexlo.instance")

namespace platform {

FlockInstanceGuard::FlockInstanceGuard(QString lockPath) : m_path(std::move(lockPath)) {}

FlockInstanceGuard::~FlockInstanceGuard() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FlockInstanceGuard::defaultLockPath() {
    QString display = qEnvironmentVariable("DISPLAY", QStringLiteral("nodisplay"));
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Vexlo8.12-%1-%2.lock").arg(::getuid()).arg(display));
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
