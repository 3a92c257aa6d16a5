#include "ChildProcesses.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Parent of every live process; zombies are only reaped, not signalled.
QHash<pid_t, pid_t> parents(QList<pid_t>* zombies) {
    QHash<pid_t, pid_t> out;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t pid = entry.toInt(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (comm) state ppid ...": comm may hold blanks and parentheses.
        const int close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 2)
            continue;
        if (fields[0] == "Z") {
            if (zombies)
                zombies->append(pid);
            continue;
        }
        out.insert(pid, pid_t(fields[1].toInt()));
    }
    return out;
}

} // namespace

QList<qint64> childrenNamed(const QByteArray& name) {
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int open = line.indexOf('('), close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (open < 0 || fields.size() < 2 || fields[0] == "Z")
            continue;
        if (line.mid(open + 1, close - open - 1) == name && fields[1].toInt() == getpid())
            found.append(entry.toLongLong());
    }
    return found;
}

namespace {

QList<pid_t> liveDescendants() {
    const QHash<pid_t, pid_t> parent = parents(nullptr);
    const pid_t self = getpid();
    QList<pid_t> found;
    for (auto it = parent.begin(); it != parent.end(); ++it) {
        pid_t p = it.value();
        for (int depth = 0; p > 1 && depth < 64; ++depth) {
            if (p == self) {
                found.append(it.key());
                break;
            }
            p = parent.value(p, 0);
        }
    }
    return found;
}

void reapChildren() {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

} // namespace

void adoptOrphans() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

int endDescendants(int graceMs) {
    QList<pid_t> left = liveDescendants();
    const int count = int(left.size());
    for (pid_t pid : left)
        kill(pid, SIGTERM);
    for (int waited = 0; waited < graceMs && !left.isEmpty(); waited += 50) {
        QThread::msleep(50);
        reapChildren();
        left = liveDescendants();
    }
    for (pid_t pid : left)
        kill(pid, SIGKILL);
    for (int i = 0; i < 40 && !liveDescendants().isEmpty(); ++i) {
        QThread::msleep(50);
        reapChildren();
    }
    reapChildren();
    return count;
}

} // namespace testsupport
