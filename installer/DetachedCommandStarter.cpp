#include "DetachedCommandStarter.h"

#include "CommandLine.h"
#include "Logging.h"

#include <QProcess>

bool DetachedCommandStarter::start(const QString& commandText) {
    QStringList words = splitCommandLine(commandText);
    if (words.isEmpty()) return false;
    const QString program = words.takeFirst();
    qint64 pid = 0;
    const bool started = QProcess::startDetached(program, words, QString(), &pid);
    if (started) qCDebug(lcFinisher).noquote() << "process" << pid << "for" << program;
    return started;
}
