#pragma once

#include "platform/Processes.h"

namespace platform {

// Processes from the kernel's process table (/proc); commands through Qt. Ended
// processes not yet reaped and kernel threads are not running programs and are left
// out of the snapshot.
class LinuxProcesses : public Processes {
public:
    std::optional<std::vector<ProcessEntry>> snapshot() override;
    bool startDetached(const QString& commandLine) override;
    bool openDocument(const QString& documentOrAddress) override;
};

} // namespace platform
