#include "LoInstance.h"

#include "LoLocks.h"
#include "LoWaitOffUiThread.h"

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/presentation/XPresentation.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <signal.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace vexlo::office::lo {

namespace {
constexpr int kRestartExitCode = 81; // a fresh profile asks to be started again
constexpr int kMaxRestarts = 3;

bool displayAvailable() { return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"); }

} // namespace

void LoInstance::Worker::run() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [&] { return stop || !tasks.empty(); });
            if (tasks.empty()) break;
            task = std::move(tasks.front());
            tasks.pop_front();
        }
        task();
    }
    std::lock_guard lock(mutex);
    finished = true;
    finishedCv.notify_all();
}

LoInstance::LoInstance(Kind kind, const LibreOfficeOptions& options, QString programDir,
                       std::unique_ptr<ProfileSlot> slot)
    : m_kind(kind), m_options(options), m_programDir(std::move(programDir)), m_slot(std::move(slot)),
      m_worker(std::make_shared<Worker>()) {
    m_profileDir = m_slot->dir();
    m_profileUrl = m_slot->url();
    m_pipeName = QStringLiteral("vexlo_%1_%2").arg(::getpid()).arg(QRandomGenerator::global()->generate64(), 0, 36);
    m_thread = std::thread([w = m_worker] { w->run(); });
}

LoInstance::~LoInstance() {
    kill("released");
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stop = true;
        m_worker->wake.notify_all();
    }
    if (m_thread.get_id() == std::this_thread::get_id()) {
        m_thread.detach(); // the last reference went with a task on the worker itself
        return;
    }
    std::unique_lock lock(m_worker->mutex);
    if (m_worker->finishedCv.wait_for(lock, 3s, [&] { return m_worker->finished; })) {
        lock.unlock();
        m_thread.join();
    } else {
        lock.unlock();
        qCWarning(lcOfficeLo) << "office worker thread stuck; leaving it behind";
        m_thread.detach();
    }
}

void LoInstance::post(std::function<void()> task) {
    std::lock_guard lock(m_worker->mutex);
    m_worker->tasks.push_back(std::move(task));
    m_worker->wake.notify_one();
}

std::shared_ptr<LoInstance> LoInstance::start(Kind kind, const LibreOfficeOptions& options,
                                              const QString& programDir, const QString& profileRoot) {
    const QString exe = QDir(programDir).filePath(QStringLiteral("soffice.bin"));
    if (!QFileInfo(exe).isExecutable()) {
        qCDebug(lcOfficeLo) << "no office program at" << exe;
        return nullptr;
    }
    if (!localContext(programDir).is()) return nullptr;
    static std::once_flag swept;
    std::call_once(swept, [] { removeStalePipeFiles(QStringLiteral("vexlo_")); });
    ProfileSlot::removeIdlePipeFiles(profileRoot);
    auto slot = ProfileSlot::acquire(profileRoot);
    if (!slot) return nullptr;
    std::shared_ptr<LoInstance> inst(new LoInstance(kind, options, programDir, std::move(slot)));

    const auto deadline = std::chrono::steady_clock::now() + options.startTimeout;
    auto box = std::make_shared<CallBox<bool>>();
    inst->post([box, self = inst, deadline] {
        bool ok = false;
        try {
            ok = self->connectOnWorker(deadline);
        } catch (const css::uno::Exception& e) {
            qCDebug(lcOfficeLo) << "connecting failed:" << fromOU(e.Message);
        }
        std::lock_guard lock(box->mutex);
        box->value = ok;
        box->done = true;
        box->cv.notify_all();
    });
    std::unique_lock lock(box->mutex);
    const bool answered = box->cv.wait_until(lock, deadline + 1s, [&] { return box->done; });
    lock.unlock();
    if (!answered || !box->value.value_or(false)) {
        qCWarning(lcOfficeLo) << "office did not start within" << options.startTimeout.count() << "ms";
        inst->kill("start failed");
        return nullptr;
    }
    qCDebug(lcOfficeLo) << "office" << inst->pid() << "ready, profile" << inst->profileDir();
    return inst;
}

bool LoInstance::spawnOnWorker() {
    QStringList args{QStringLiteral("--invisible"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                     QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                     QStringLiteral("-env:UserInstallation=%1").arg(m_profileUrl),
                     QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(m_pipeName)};
    // Slide shows and shown workbooks need windows; writing files does not.
    if (m_kind == Kind::Utility || !displayAvailable()) args.prepend(QStringLiteral("--headless"));
    // Its windows must be X11 ones, as ours are, whichever toolkit plugin it uses, so that
    // their titles and stacking can be seen in a Wayland session too.
    QList<QByteArray> env{QByteArrayLiteral("SAL_ENABLE_FILE_LOCKING=1"), QByteArrayLiteral("GDK_BACKEND=x11"),
                          QByteArrayLiteral("QT_QPA_PLATFORM=xcb")};
    QString plugin = m_options.vclPlugin;
    if (plugin.isEmpty()) plugin = qEnvironmentVariable("SAL_USE_VCLPLUGIN", QStringLiteral("gen"));
    env.append("SAL_USE_VCLPLUGIN=" + plugin.toLocal8Bit());
    auto process = OfficeProcess::spawn(QDir(m_programDir).filePath(QStringLiteral("soffice.bin")), args,
                                        childEnvironment(env), m_profileDir + QStringLiteral(".log"));
    if (!process) return false;
    std::lock_guard lock(m_mutex);
    if (m_dead) {
        process->kill();
        return false;
    }
    m_pid = process->pid();
    m_process = std::move(process);
    return true;
}

bool LoInstance::connectOnWorker(std::chrono::steady_clock::time_point deadline) {
    if (!spawnOnWorker()) return false;
    auto resolver = css::bridge::UnoUrlResolver::create(localContext(m_programDir));
    const rtl::OUString url =
        toOU(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(m_pipeName));
    int restarts = 0;
    while (std::chrono::steady_clock::now() < deadline && !m_dead) {
        try {
            css::uno::Reference<css::uno::XComponentContext> remote(resolver->resolve(url), css::uno::UNO_QUERY);
            if (remote.is()) {
                desktop = css::frame::Desktop::create(remote);
                context = remote;
                return desktop.is();
            }
        } catch (const css::connection::NoConnectException&) {
            // not listening yet
        }
        bool running = false;
        std::optional<int> code;
        {
            std::lock_guard lock(m_mutex);
            running = m_process && m_process->running();
            if (m_process) code = m_process->exitCode();
        }
        if (!running) {
            if (code == kRestartExitCode && restarts < kMaxRestarts) {
                ++restarts;
                qCDebug(lcOfficeLo) << "office asked to be restarted (new profile)";
                if (!spawnOnWorker()) return false;
                continue;
            }
            qCDebug(lcOfficeLo) << "office ended while starting, exit code" << code.value_or(-1);
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

bool LoInstance::alive() {
    if (m_dead) return false;
    bool running;
    {
        std::lock_guard lock(m_mutex);
        running = m_process && m_process->running();
    }
    if (!running) {
        qCDebug(lcOfficeLo) << "office" << m_pid.load() << "has ended";
        kill("process ended");
        return false;
    }
    return true;
}

bool LoInstance::probe() {
    const auto t = std::min<std::chrono::milliseconds>(m_options.callTimeout, 3000ms);
    return call("probe", [](LoInstance& self) {
               self.desktop->getCurrentFrame();
               return true;
           }, t)
        .value_or(false);
}

void LoInstance::wakeEventLoop() {
    if (!context.is()) return;
    // The change it follows has been made already: a failed wake must not turn the caller's
    // request into a failure. An office that has gone is still reported as such.
    try {
        if (!asyncCallback.is()) asyncCallback = css::awt::AsyncCallback::create(context);
        asyncCallback->addCallback({}, css::uno::Any());
    } catch (const css::lang::DisposedException&) {
        throw;
    } catch (const css::uno::Exception& e) {
        qCDebug(lcOfficeLo) << "waking the office's event loop failed:" << fromOU(e.Message);
    }
}

bool LoInstance::quit() {
    // An office under load takes its time to go: the windows do not stand still meanwhile.
    bool done = false;
    runOffUiThread([this, &done] { done = quitHere(); }, m_options.busy);
    return done;
}

bool LoInstance::quitHere() {
    if (!alive()) return false;
    call("quit", [](LoInstance& self) {
        auto en = self.desktop->getComponents()->createEnumeration();
        while (en->hasMoreElements()) {
            css::uno::Reference<css::lang::XComponent> c(en->nextElement(), css::uno::UNO_QUERY);
            try {
                css::uno::Reference<css::presentation::XPresentationSupplier> ps(c, css::uno::UNO_QUERY);
                if (ps.is()) ps->getPresentation()->end();
                // Nothing may ask about unsaved changes: nobody could answer in time.
                css::uno::Reference<css::util::XModifiable> mod(c, css::uno::UNO_QUERY);
                if (mod.is()) mod->setModified(false);
                css::uno::Reference<css::util::XCloseable> cl(c, css::uno::UNO_QUERY);
                if (cl.is()) cl->close(true);
                else if (c.is()) c->dispose();
            } catch (const css::uno::Exception& e) {
                qCDebug(lcOfficeLo) << "closing a document on quit failed:" << fromOU(e.Message);
            }
        }
        self.documents.clear();
        try {
            self.desktop->terminate();
        } catch (const css::lang::DisposedException&) {
            // it went before it could answer
        }
        return true;
    });
    {
        std::lock_guard lock(m_mutex);
        if (m_process && !m_process->waitForExit(5s)) qCDebug(lcOfficeLo) << "office did not end on terminate";
    }
    kill("quit");
    return true;
}

void LoInstance::kill(const char* why) {
    std::unique_ptr<OfficeProcess> process;
    {
        std::lock_guard lock(m_mutex);
        if (m_dead.exchange(true) && !m_process) return;
        process = std::move(m_process);
    }
    if (process && process->running()) qCDebug(lcOfficeLo) << "killing office" << process->pid() << "(" << why << ")";
    process.reset(); // kills if still running, reaps
    m_pid = 0;
    afterDeath();
}

void LoInstance::killAtExit() {
    const qint64 pid = m_pid.load();
    if (pid > 0) {
        ::kill(-pid_t(pid), SIGKILL);
        ::kill(pid_t(pid), SIGKILL);
    }
}

void LoInstance::afterDeath() {
    removePipeFile(m_pipeName);
    removePipeFile(singleOfficePipeName(m_profileUrl));
    QStringList files;
    {
        QMutexLocker lock(&m_filesMutex);
        files.swap(m_openedFiles);
    }
    for (const QString& f : files) {
        const QString lock = lockFileOf(f);
        const auto owner = readOfficeLock(lock);
        if (owner && owner->profileDir == QDir::cleanPath(m_profileDir)) QFile::remove(lock);
    }
    std::lock_guard lock(m_mutex);
    m_slot.reset(); // the profile is free for the next office only once this one has gone
}

void LoInstance::noteDisposed(const css::lang::DisposedException& e) {
    if (fromOU(e.Message).contains(QLatin1String("URP bridge"))) kill("bridge disposed");
}

void LoInstance::noteOpenedFile(const QString& path) {
    QMutexLocker lock(&m_filesMutex);
    if (!m_openedFiles.contains(path)) m_openedFiles.append(path);
}

bool LoInstance::clearStaleLock(const QString& path) {
    const QString lock = lockFileOf(path);
    const auto owner = readOfficeLock(lock);
    if (!owner || owner->profileDir.isEmpty()) return false;
    const QString root = QDir::cleanPath(QFileInfo(m_profileDir).absolutePath());
    bool stale;
    if (owner->profileDir == QDir::cleanPath(m_profileDir)) {
        QMutexLocker l(&m_filesMutex);
        stale = !m_openedFiles.contains(path);
    } else if (owner->profileDir.startsWith(root + u'/')) {
        stale = !ProfileSlot::inUse(owner->profileDir);
    } else {
        // Another office's lock: left behind only if that office no longer runs here. One
        // on another machine (a shared folder) cannot be told apart, so it stands.
        stale = owner->host == localHostName() && !officeRunsWithProfile(owner->profileDir);
    }
    if (stale) {
        qCDebug(lcOfficeLo) << "removing stale lock" << lock;
        QFile::remove(lock);
    }
    return stale;
}

bool LoInstance::lockedElsewhere(const QString& path) {
    clearStaleLock(path);
    const auto owner = readOfficeLock(lockFileOf(path));
    return owner && owner->profileDir != QDir::cleanPath(m_profileDir);
}

} // namespace vexlo::office::lo
