#include "LoLocks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlo::office::lo {

namespace {

QByteArray readProcFile(qint64 pid, const char* name) {
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString environmentValue(const QByteArray& environ, const QByteArray& name) {
    for (const QByteArray& entry : environ.split('\0'))
        if (entry.startsWith(name + '='))
            return QFile::decodeName(entry.mid(name.size() + 1));
    return {};
}

// The profile an office process uses: the one it was given, else its user's default
// (the configuration folder it sees, "libreoffice/4" in it).
QString profileOf(qint64 pid, const QList<QByteArray>& args) {
    static const QByteArray option = "-env:UserInstallation=";
    for (const QByteArray& a : args)
        if (a.startsWith(option))
            return QDir::cleanPath(QUrl(QString::fromUtf8(a.mid(option.size()))).toLocalFile());
    const QByteArray environ = readProcFile(pid, "environ");
    QString config = environmentValue(environ, "XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        QString home = environmentValue(environ, "HOME");
        if (home.isEmpty()) {
            struct stat st {};
            const QByteArray dir = QFile::encodeName(QStringLiteral("/proc/%1").arg(pid));
            if (::stat(dir.constData(), &st) == 0)
                if (const passwd* pw = ::getpwuid(st.st_uid))
                    home = QFile::decodeName(pw->pw_dir);
        }
        config = home + QStringLiteral("/.config");
    }
    return QDir::cleanPath(config + QStringLiteral("/libreoffice/4"));
}

} // namespace

QString lockFileOf(const QString& documentPath) {
    const QFileInfo fi(documentPath);
    return fi.absoluteDir().filePath(QStringLiteral(".~lock.%1#").arg(fi.fileName()));
}

std::optional<OfficeLock> readOfficeLock(const QString& lockFile) {
    QFile f(lockFile);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(f.read(4096)).trimmed();
    if (text.endsWith(u';'))
        text.chop(1);
    const QStringList fields = text.split(u',');
    if (fields.size() < 5)
        return std::nullopt;
    return OfficeLock{fields.at(2), QDir::cleanPath(QUrl(fields.last()).toLocalFile())};
}

bool officeRunsWithProfile(const QString& profileDir) {
    const QString wanted = QDir::cleanPath(profileDir);
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        const QByteArray comm = readProcFile(pid, "comm").trimmed();
        if (comm != "soffice.bin")
            continue;
        const QByteArray stat = readProcFile(pid, "stat");
        const int close = stat.lastIndexOf(')');
        if (close < 0 || stat.mid(close + 2, 1) == "Z")
            continue;
        if (profileOf(pid, readProcFile(pid, "cmdline").split('\0')) == wanted)
            return true;
    }
    return false;
}

QString localHostName() {
    char name[256] = {};
    ::gethostname(name, sizeof(name) - 1);
    return QString::fromLocal8Bit(name);
}

} // namespace vexlo::office::lo
