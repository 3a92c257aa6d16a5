#include "LoWaitOffUiThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vexlo::office::lo {

namespace {
constexpr int kSliceMs = 10;
constexpr int kNoticedAfterMs = 150;
} // namespace

void runOffUiThread(const std::function<void()>& work, const std::function<void(bool)>& busy) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    struct Done {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    auto state = std::make_shared<Done>();
    std::thread worker([&work, state] {
        work();
        std::lock_guard lock(state->mutex);
        state->done = true;
        state->cv.notify_all();
    });
    QElapsedTimer clock;
    clock.start();
    bool shownBusy = false;
    std::unique_lock lock(state->mutex);
    while (!state->cv.wait_for(lock, std::chrono::milliseconds(kSliceMs), [&] { return state->done; })) {
        lock.unlock();
        if (busy && !shownBusy && clock.elapsed() >= kNoticedAfterMs) {
            busy(true);
            shownBusy = true;
        }
        // Input is held back, not lost: a click meanwhile is taken once the office is there.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kSliceMs);
        lock.lock();
    }
    lock.unlock();
    worker.join();
    if (shownBusy) busy(false);
}

} // namespace vexlo::office::lo
