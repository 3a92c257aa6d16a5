#include "FileProblem.h"

#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>
#include <unistd.h>

namespace vexlo::office {

namespace {

bool writable(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

// Room for one more copy of the file (the office writes a temporary one) plus a margin.
bool diskFull(const QString& path) {
    const QFileInfo fi(path);
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(fi.absolutePath()).constData(), &fs) != 0)
        return false;
    const qint64 free = qint64(fs.f_bavail) * qint64(fs.f_frsize);
    return free < fi.size() + 256 * 1024;
}

} // namespace

FileProblem writeProblemOnDisk(const QString& path) {
    const QFileInfo fi(path);
    if (fi.exists() && !writable(fi.absoluteFilePath()))
        return FileProblem::ReadOnlyFile;
    if (!writable(fi.absolutePath()))
        return FileProblem::ReadOnlyFolder;
    if (diskFull(path))
        return FileProblem::DiskFull;
    return FileProblem::None;
}

FileProblem diagnoseFailedSave(const QString& path) {
    const FileProblem onDisk = writeProblemOnDisk(path);
    return onDisk == FileProblem::None ? FileProblem::Unknown : onDisk;
}

} // namespace vexlo::office
