#include "SingleInstanceLock.h"

#include "Logging.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

SingleInstanceLock::SingleInstanceLock(QString path) : m_path(std::move(path)) {}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

SingleInstanceLock::Result SingleInstanceLock::acquire() {
    if (m_fd >= 0) return Result::Acquired;
    // O_NOFOLLOW: in /tmp another user could plant a link to a file of ours.
    const int fd =
        ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCDebug(lcFinisher).noquote() << "no instance lock at" << m_path << ":" << std::strerror(errno);
        return Result::Unavailable;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        qCDebug(lcFinisher).noquote() << "instance lock" << m_path << "is not a file of this user";
        ::close(fd);
        return Result::Unavailable;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return Result::HeldElsewhere;
        qCDebug(lcFinisher).noquote() << "cannot lock" << m_path << ":" << std::strerror(error);
        return Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}

void SingleInstanceLock::release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

QString SingleInstanceLock::defaultPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/Vexlo-finisher.lock");
    return QStringLiteral("/tmp/Vexlo-finisher-%1.lock").arg(::geteuid());
}
