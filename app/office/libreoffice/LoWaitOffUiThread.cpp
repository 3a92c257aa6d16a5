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
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    // Joined below before any of these goes out of scope.
    std::thread worker([&] {
        work();
        std::lock_guard lock(mutex);
        done = true;
        cv.notify_all();
    });
    QElapsedTimer clock;
    clock.start();
    bool shownBusy = false;
    std::unique_lock lock(mutex);
    while (!cv.wait_for(lock, std::chrono::milliseconds(kSliceMs), [&] { return done; })) {
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
