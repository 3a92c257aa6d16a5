#include "LoWarmOffices.h"

#include <algorithm>

namespace vexlo::office::lo {

WarmOffices::WarmOffices(Starter starter) : m_starter(std::move(starter)) {}

WarmOffices::~WarmOffices() {
    drop();
    std::list<std::pair<std::shared_ptr<Slot>, std::thread>> threads;
    {
        std::lock_guard lock(m_mutex);
        threads.swap(m_threads);
    }
    for (auto& t : threads) t.second.join();
}

void WarmOffices::warmUp(LoInstance::Kind kind) {
    std::lock_guard lock(m_mutex);
    joinFinished();
    const bool waiting = std::any_of(m_slots.begin(), m_slots.end(), [kind](const std::shared_ptr<Slot>& s) {
        return s->kind == kind && (s->starting || (s->office && s->office->alive()));
    });
    if (waiting) return;
    m_slots.remove_if([kind](const std::shared_ptr<Slot>& s) { return s->kind == kind; });
    auto slot = std::make_shared<Slot>();
    slot->kind = kind;
    m_slots.push_back(slot);
    m_threads.emplace_back(slot, std::thread([this, slot] {
        auto office = m_starter(slot->kind);
        std::unique_lock lock(m_mutex);
        slot->starting = false;
        if (slot->dropped) {
            lock.unlock();
            office.reset(); // killed on the way out; nothing of the user's is in it
            return;
        }
        slot->office = std::move(office);
        lock.unlock();
        m_started.notify_all();
    }));
}

std::shared_ptr<LoInstance> WarmOffices::take(LoInstance::Kind kind) {
    std::unique_lock lock(m_mutex);
    auto it = std::find_if(m_slots.begin(), m_slots.end(),
                           [kind](const std::shared_ptr<Slot>& s) { return s->kind == kind; });
    if (it == m_slots.end()) return nullptr;
    auto slot = *it;
    m_slots.erase(it);
    // The start has its own deadline, so this wait ends.
    m_started.wait(lock, [&slot] { return !slot->starting; });
    auto office = std::move(slot->office);
    return office && office->alive() ? office : nullptr;
}

void WarmOffices::drop() {
    std::vector<std::shared_ptr<LoInstance>> idle; // ended outside the lock
    {
        std::lock_guard lock(m_mutex);
        for (auto& s : m_slots) {
            s->dropped = true;
            if (s->office) idle.push_back(std::move(s->office));
        }
        m_slots.clear();
    }
    for (auto& office : idle) office->kill("started ahead and not needed");
}

QList<qint64> WarmOffices::pids() {
    QList<qint64> result;
    std::lock_guard lock(m_mutex);
    for (const auto& s : m_slots)
        if (s->office && s->office->pid() > 0) result.append(s->office->pid());
    return result;
}

void WarmOffices::joinFinished() {
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (!it->first->starting) {
            it->second.join();
            it = m_threads.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace vexlo::office::lo
