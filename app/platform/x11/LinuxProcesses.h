#pragma once

#include "platform/Processes.h"

namespace platform {

// Processes from the kernel's process table (/proc); commands through Qt. Ended
// processes not yet reaped and kernel threads are not running programs and are left
// out of the snapshot.
class LinuxProcesses : public Processes {
public:
    // graceMs: how long asked processes get to end before they are forced.
    explicit LinuxProcesses(int graceMs = 2000) : m_graceMs(graceMs) {}
    std::optional<std::vector<ProcessEntry>> snapshot() override;
    void terminate(const QString& exeName, const QList<qint64>& spared) override;
    bool startDetached(const QString& commandLine) override;
    bool openDocument(const QString& documentOrAddress) override;

private:
    int m_graceMs;
};

} // namespace platform
