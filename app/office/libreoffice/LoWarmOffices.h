#pragma once

#include "LoInstance.h"

#include <QList>

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace vexlo::office::lo {

// Offices started ahead of need, each on a thread of its own, at most one per kind.
// Taking one waits for a start under way rather than starting a second office; one that
// nobody takes is ended, by the thread that started it when it is still starting, so
// neither taking nor dropping ever waits for a whole start.
class WarmOffices {
public:
    using Starter = std::function<std::shared_ptr<LoInstance>(LoInstance::Kind)>;

    explicit WarmOffices(Starter starter);
    // Ends what nobody took; waits for the starts under way (they end what they start).
    ~WarmOffices();

    void warmUp(LoInstance::Kind kind);
    // The office started ahead, once its start is over; null when none was, or it failed.
    std::shared_ptr<LoInstance> take(LoInstance::Kind kind);
    void drop();
    QList<qint64> pids();

private:
    struct Slot {
        LoInstance::Kind kind;
        bool starting = true;
        bool dropped = false;
        std::shared_ptr<LoInstance> office;
    };
    void joinFinished();

    Starter m_starter;
    std::mutex m_mutex;
    std::condition_variable m_started;
    std::list<std::shared_ptr<Slot>> m_slots;
    std::list<std::pair<std::shared_ptr<Slot>, std::thread>> m_threads;
};

} // namespace vexlo::office::lo
