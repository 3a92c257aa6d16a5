#pragma once

#include <QStringList>

namespace platform {

// All top-level windows of the desktop, of every process, hidden ones included, in the
// desktop's stacking order from the top; their titles (empty for untitled windows).
// Windows that vanish during the walk are skipped or end it quietly.
class WindowList {
public:
    virtual ~WindowList() = default;
    virtual QStringList titles() = 0;
};

} // namespace platform
