#pragma once

#include "platform/Processes.h"

namespace platform {

// Processes from the kernel's process table; commands through Qt.
class LinuxProcesses : public Processes {
public:
    explicit LinuxProcesses(int graceMs = 2000) : m_graceMs(graceMs) {}
    std::optional<std::vector<ProcessEntry>> snapshot() override;
    void terminate(const QString& exeName, const QList<qint64>& spared) override;
    bool startDetached(const QString& commandLine) override;
    bool openDocument(const QString& documentOrAddress) override;

private:
    int m_graceMs;
};

} // namespace platform
