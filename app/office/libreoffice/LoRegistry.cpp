#include "LoRegistry.h"

#include <cstdlib>

namespace vexlo::office::lo {

LoRegistry& LoRegistry::instance() {
    // Never destroyed: at exit only the processes are ended (below), without touching UNO,
    // whose own statics may already be gone by then.
    static LoRegistry* registry = [] {
        auto* r = new LoRegistry;
        std::atexit(&LoRegistry::killAllAtExit);
        return r;
    }();
    return *registry;
}

void LoRegistry::killAllAtExit() {
    auto& r = instance();
    std::lock_guard lock(r.m_mutex);
    for (auto& e : r.m_entries) e.inst->killAtExit();
}

void LoRegistry::prune() {
    std::vector<std::shared_ptr<LoInstance>> gone; // destroyed outside the lock
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (!it->inst->alive()) {
                gone.push_back(std::move(it->inst));
                it = m_entries.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void LoRegistry::add(const std::shared_ptr<LoInstance>& inst, const void* owner) {
    prune();
    std::lock_guard lock(m_mutex);
    m_entries.push_back({inst, owner});
}

std::shared_ptr<LoInstance> LoRegistry::latest(LoInstance::Kind kind) {
    prune();
    std::vector<std::shared_ptr<LoInstance>> candidates;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
            if (it->inst->kind() == kind) candidates.push_back(it->inst);
    }
    for (auto& c : candidates)
        if (c->probe()) return c;
    return nullptr;
}

QList<qint64> LoRegistry::pids() {
    prune();
    QList<qint64> result;
    std::lock_guard lock(m_mutex);
    for (const auto& e : m_entries)
        if (e.inst->pid() > 0) result.append(e.inst->pid());
    return result;
}

std::vector<std::shared_ptr<LoInstance>> LoRegistry::takeOwnedBy(const void* owner) {
    std::vector<std::shared_ptr<LoInstance>> mine;
    std::lock_guard lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->owner == owner) {
            mine.push_back(std::move(it->inst));
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
    return mine;
}

} // namespace vexlo::office::lo
