#pragma once

#include "LibreOfficeOptions.h"
#include "LoProcess.h"
#include "LoUno.h"
#include "office/OfficeLogging.h"

#include <com/sun/star/awt/XRequestCallback.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>

#include <QMutex>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

namespace vexlo::office::lo {

struct LoDocument {
    css::uno::Reference<css::lang::XComponent> component;
    rtl::OUString url;
};

// One private office process and the bridge to it.
//
// UNO calls have no timeout of their own, so every call runs on this instance's worker
// thread while the caller waits with a deadline. A call that misses it gets the process
// killed: the stuck call then fails with the bridge, and every later call fails at once.
class LoInstance : public std::enable_shared_from_this<LoInstance> {
public:
    enum class Kind { Presentation, Spreadsheet, Utility };

    // Starts the office and connects to it; null when that fails within the start timeout.
    static std::shared_ptr<LoInstance> start(Kind kind, const LibreOfficeOptions& options,
                                             const QString& programDir, const QString& profileRoot);
    ~LoInstance();

    Kind kind() const { return m_kind; }
    qint64 pid() const { return m_pid.load(); }
    QString profileDir() const { return m_profileDir; }

    // The process still runs and no call has timed out. No UNO call.
    bool alive();
    // Alive and answering a trivial call within a short deadline.
    bool probe();
    // Ends the office: closes its documents without saving, terminates it, and kills it
    // if it has not gone within a few seconds. False when it had already gone.
    bool quit();
    void kill(const char* why);
    // Kills the process group without any UNO call or lock; for the exit handler.
    void killAtExit();

    // Notes a file this office opened, so its lock file can be cleared if the office dies.
    void noteOpenedFile(const QString& path);
    // A disposed bridge never works again: the office is treated as dead at once, while a
    // disposed document (closed by the user) only fails its own calls.
    void noteDisposed(const css::lang::DisposedException& e);
    // Whether a lock file next to `path` was left by an office that no longer runs (one
    // of this program's, or the user's on this machine), and removes it then.
    bool clearStaleLock(const QString& path);
    // Whether another office, still running, holds `path` open (after clearing a stale lock).
    bool lockedElsewhere(const QString& path);

    template <class F>
    auto call(const char* what, F fn, std::optional<std::chrono::milliseconds> timeout = {})
        -> std::optional<std::invoke_result_t<F&, LoInstance&>>;
    // Queues a call without waiting for it; later calls run after it. False when the
    // office has gone.
    template <class F>
    bool send(const char* what, F fn);
    std::chrono::milliseconds callTimeout() const { return m_options.callTimeout; }

    // Within a call: lets the office's event loop run what the call has scheduled. A change
    // made from outside (a slide jump, a show's start) sets the office's repaint timer without
    // waking its loop, and with its own X11 toolkit the screen then kept the old picture
    // until some other event came, minutes under load. An empty posted event wakes it.
    void wakeEventLoop();

    // State touched only by calls, i.e. on the worker thread.
    css::uno::Reference<css::frame::XDesktop2> desktop;
    css::uno::Reference<css::uno::XComponentContext> context;
    std::vector<LoDocument> documents; // activation order: the last one is the active one
    bool visible = false;
    bool alerts = true;
    css::uno::Reference<css::awt::XRequestCallback> asyncCallback;

private:
    bool quitHere();
    struct Worker {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finishedCv;
        std::deque<std::function<void()>> tasks;
        bool stop = false;
        bool finished = false;
        void run();
    };
    template <class R>
    struct CallBox {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        std::optional<R> value;
    };

    LoInstance(Kind kind, const LibreOfficeOptions& options, QString programDir,
               std::unique_ptr<ProfileSlot> slot);
    void post(std::function<void()> task);
    bool connectOnWorker(std::chrono::steady_clock::time_point deadline);
    bool spawnOnWorker();
    void afterDeath();

    const Kind m_kind;
    const LibreOfficeOptions m_options;
    const QString m_programDir;
    QString m_profileDir;
    QString m_profileUrl;
    QString m_pipeName;

    std::mutex m_mutex; // guards m_process and m_slot
    std::unique_ptr<OfficeProcess> m_process;
    std::unique_ptr<ProfileSlot> m_slot;
    std::atomic<bool> m_dead{false};
    std::atomic<qint64> m_pid{0};

    QMutex m_filesMutex;
    QStringList m_openedFiles;

    std::shared_ptr<Worker> m_worker;
    std::thread m_thread;
};

template <class F>
auto LoInstance::call(const char* what, F fn, std::optional<std::chrono::milliseconds> timeout)
    -> std::optional<std::invoke_result_t<F&, LoInstance&>> {
    using R = std::invoke_result_t<F&, LoInstance&>;
    if (!alive()) {
        qCDebug(lcOfficeLo) << what << "skipped: the office has gone";
        return std::nullopt;
    }
    auto box = std::make_shared<CallBox<R>>();
    post([box, fn = std::move(fn), self = shared_from_this(), what]() mutable {
        std::optional<R> result;
        try {
            result = fn(*self);
        } catch (const css::lang::DisposedException& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << fromOU(e.Message);
            self->noteDisposed(e);
        } catch (const css::uno::Exception& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << fromOU(e.Message);
        } catch (const std::exception& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << e.what();
        }
        std::lock_guard lock(box->mutex);
        box->value = std::move(result);
        box->done = true;
        box->cv.notify_all();
    });
    std::unique_lock lock(box->mutex);
    if (!box->cv.wait_for(lock, timeout.value_or(m_options.callTimeout), [&] { return box->done; })) {
        lock.unlock();
        qCWarning(lcOfficeLo) << what << "did not answer in time; ending office" << pid();
        kill(what);
        return std::nullopt;
    }
    return std::move(box->value);
}

template <class F>
bool LoInstance::send(const char* what, F fn) {
    if (!alive()) return false;
    post([fn = std::move(fn), self = shared_from_this(), what]() mutable {
        try {
            fn(*self);
        } catch (const css::lang::DisposedException& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << fromOU(e.Message);
            self->noteDisposed(e);
        } catch (const css::uno::Exception& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << fromOU(e.Message);
        } catch (const std::exception& e) {
            qCDebug(lcOfficeLo) << what << "failed:" << e.what();
        }
    });
    return true;
}

} // namespace vexlo::office::lo
