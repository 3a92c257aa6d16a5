#pragma once

#include "platform/Taskbar.h"

#include <sys/types.h>

#include <vector>

namespace platform {

// The panel windows of the desktop are the dock-type top-level windows. Hiding unmaps
// them; showing maps them back. The user must never lose the panel, so a guardian process
// (forked at the first hide, holding an X connection of its own) maps the hidden windows
// back when this process ends in any way, a crash or SIGKILL included: it learns of the
// end from the pipe the kernel closes with this process.
class X11Taskbar : public Taskbar {
public:
    X11Taskbar() = default;
    ~X11Taskbar() override;
    X11Taskbar(const X11Taskbar&) = delete;
    X11Taskbar& operator=(const X11Taskbar&) = delete;

    void show() override;
    void hide() override;

    // The guardian's process id, 0 before the first hide (for tests).
    pid_t guardianPid() const { return m_guardian; }

private:
    void startGuardian();
    void tellGuardian();

    std::vector<unsigned long> m_hidden;
    pid_t m_guardian = 0;
    int m_pipe = -1; // write end; the guardian reads the hidden windows from it
    void* m_guardDisplay = nullptr; // the guardian's X connection, this side's handle
};

} // namespace platform
