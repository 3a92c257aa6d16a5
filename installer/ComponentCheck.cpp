#include "ComponentCheck.h"

#include "Logging.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace {

// Long enough for an office to be told to end and, failing that, killed.
constexpr std::chrono::seconds kStopWait{10};

} // namespace

struct ComponentCheck::Shared {
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    ComponentCheck* receiver = nullptr; // cleared when the check object goes away
    std::stop_source stop;
};

ComponentCheck::ComponentCheck(ComponentProbes probes, QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_probes(std::move(probes)) {
    m_shared->receiver = this;
}

ComponentCheck::~ComponentCheck() {
    std::unique_lock lock(m_shared->mutex);
    m_shared->receiver = nullptr;
    m_shared->stop.request_stop();
    if (m_started && !m_shared->doneChanged.wait_for(lock, kStopWait, [&] { return m_shared->done; }))
        qCWarning(lcFinisher) << "a component check did not stop in time; leaving it behind";
}

void ComponentCheck::start() {
    if (m_started) return;
    m_started = true;
    // The thread owns what it uses, so it may outlive this object if a probe hangs.
    std::thread([shared = m_shared, probes = m_probes] {
        const std::stop_token stop = shared->stop.get_token();
        QList<MissingComponent> missing;
        for (const auto& probe : probes) {
            if (stop.stop_requested()) break;
            bool present = false;
            try {
                present = probe->isPresent(stop);
            } catch (const std::exception& e) {
                qCDebug(lcFinisher) << "check of" << probe->name() << "failed:" << e.what();
            }
            qCDebug(lcFinisher).noquote()
                << "component" << probe->name() << (present ? "present" : "missing");
            if (!present && !stop.stop_requested()) missing.append({probe->name(), probe->package()});
        }
        std::lock_guard lock(shared->mutex);
        shared->done = true;
        shared->doneChanged.notify_all();
        // Posted under the lock, so the receiver cannot go away in between; Qt drops the call
        // if it goes away before the call runs.
        if (ComponentCheck* receiver = shared->receiver)
            QMetaObject::invokeMethod(
                receiver, [receiver, missing] { emit receiver->finished(missing); }, Qt::QueuedConnection);
    }).detach();
}
