#include "Processes.h"

namespace platform {

bool exitproc(Processes& processes, const QString& exeName, const QList<qint64>& ignored) {
    const auto entries = processes.snapshot();
    if (!entries)
        return false;
    for (const ProcessEntry& e : *entries) {
        if (e.exeName.toLower() == exeName && !ignored.contains(e.pid))
            return true;
    }
    return false;
}

} // namespace platform
