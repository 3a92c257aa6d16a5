#pragma once

#include "LoInstance.h"

#include <QList>

#include <memory>
#include <mutex>
#include <vector>

namespace vexlo::office::lo {

// Every office this process started and that still runs, whoever holds handles to it.
// Attaching looks here, never at processes found on the system, so it can only ever
// reach this program's own offices. At exit, whatever is left is killed.
class LoRegistry {
public:
    static LoRegistry& instance();

    void add(const std::shared_ptr<LoInstance>& inst, const void* owner);
    // The most recently started live office of `kind` that answers.
    std::shared_ptr<LoInstance> latest(LoInstance::Kind kind);
    QList<qint64> pids();
    // Removes and returns the offices started for `owner`.
    std::vector<std::shared_ptr<LoInstance>> takeOwnedBy(const void* owner);

private:
    struct Entry {
        std::shared_ptr<LoInstance> inst;
        const void* owner;
    };
    LoRegistry() = default;
    void prune();
    static void killAllAtExit();

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

} // namespace vexlo::office::lo
