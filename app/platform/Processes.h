#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace platform {

struct ProcessEntry {
    qint64 pid = 0;
    // The executable's file name as on disk, case kept.
    QString exeName;
};

// Processes and programs started from this one.
class Processes {
public:
    virtual ~Processes() = default;
    // A snapshot of the running processes; nullopt when it cannot be taken.
    virtual std::optional<std::vector<ProcessEntry>> snapshot() = 0;
    // Starts a command line as its own process, never waited for.
    virtual bool startDetached(const QString& commandLine) = 0;
    // Hands a document or address to the desktop's default handler.
    virtual bool openDocument(const QString& documentOrAddress) = 0;
};

// True when some process's executable file name, lower-cased, equals the name exactly.
// The name is compared unchanged, so callers pass it in lower case. A failed snapshot
// gives false.
bool exitproc(Processes& processes, const QString& exeName, const QList<qint64>& ignored = {});

} // namespace platform
