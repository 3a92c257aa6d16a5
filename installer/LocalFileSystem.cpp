#include "LocalFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CopyResult failure(int error) {
    CopyStatus status = CopyStatus::Failed;
    if (error == EACCES || error == EPERM || error == EROFS)
        status = CopyStatus::NoPermission;
    else if (error == ENOSPC || error == EDQUOT)
        status = CopyStatus::NoSpace;
    return {status, QString::fromLocal8Bit(std::strerror(error))};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closing can report a late write error (full disk on some file systems), so it is checked.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool copyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!writeAll(to, buffer, got)) return false;
    }
}

// Moves temporary to target unless target exists; falls back to a hard link where the
// file system cannot rename without replacing.
int placeWithoutReplacing(const QByteArray& temporary, const QByteArray& target) {
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(temporary.constData(), target.constData()) != 0) return errno;
    ::unlink(temporary.constData());
    return 0;
}

} // namespace

std::optional<QString> LocalFileSystem::findDirectory(const QString& parent, const QString& name) const {
    const QDir dir(parent);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isDir()) return exact;
    const QStringList entries =
        dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return std::nullopt;
}

std::optional<QString> LocalFileSystem::findFile(const QString& directory, const QString& fileName) const {
    const QDir dir(directory);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return std::nullopt;
}

CopyResult LocalFileSystem::copyFile(const QString& source, const QString& target) {
    const QByteArray sourcePath = QFile::encodeName(source);
    const QByteArray targetPath = QFile::encodeName(target);
    if (QFileInfo::exists(target)) return {CopyStatus::AlreadyPresent, {}};

    FileDescriptor in(::open(sourcePath.constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0 && errno == ENOENT)
        return {CopyStatus::SourceMissing, QString::fromLocal8Bit(std::strerror(ENOENT))};
    struct stat sourceStat {};
    if (in.get() < 0 || ::fstat(in.get(), &sourceStat) != 0) return failure(errno);
    if (!S_ISREG(sourceStat.st_mode)) return {CopyStatus::SourceMissing, {}};

    const QString targetDirectory = QFileInfo(target).absolutePath();
    QByteArray temporary = QFile::encodeName(targetDirectory + QStringLiteral("/.Vexlo-copy-XXXXXX"));
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.get() < 0) return failure(errno);

    int error = 0;
    if (!copyContents(in.get(), out.get()) || ::fchmod(out.get(), sourceStat.st_mode & 07777) != 0 ||
        ::fsync(out.get()) != 0)
        error = errno;
    if (!out.close() && error == 0) error = errno;
    if (error == 0) error = placeWithoutReplacing(temporary, targetPath);
    if (error == 0) return {CopyStatus::Copied, {}};
    ::unlink(temporary.constData());
    if (error == EEXIST) return {CopyStatus::AlreadyPresent, {}};
    return failure(error);
}
