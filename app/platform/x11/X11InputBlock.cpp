#include "X11InputBlock.h"

#include "X11Display.h"

#include <QLoggingCategory>

#include <X11/Xlib.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInputBlock, "vexlo.platform.inputblock")

namespace platform {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kReplyWait = std::chrono::seconds(3);
constexpr int kGrabTries = 10;
constexpr auto kGrabRetry = std::chrono::milliseconds(20);
} // namespace

// The thread that owns the grab. The UI thread only posts requests and waits briefly
// for their answer; the deadline is kept here.
struct X11InputBlock::Worker {
    enum class Request { Nothing, Block, Release, Quit };

    Worker(QByteArray displayName, std::chrono::milliseconds cap) : m_displayName(std::move(displayName)), m_cap(cap) {
        if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
            m_wake[0] = m_wake[1] = -1;
        m_thread = std::thread([this] { run(); });
    }

    ~Worker() {
        post(Request::Quit);
        if (m_thread.joinable())
            m_thread.join();
        for (int fd : m_wake)
            if (fd >= 0)
                ::close(fd);
    }

    // Sends a request and waits for its answer; false when it did not come in time.
    bool post(Request r) {
        std::unique_lock lock(m_mutex);
        const unsigned id = ++m_lastRequest;
        m_request = r;
        wake();
        if (r == Request::Quit)
            return true;
        const bool answered = m_answered.wait_for(lock, kReplyWait, [&] { return m_lastAnswer == id || m_dead; });
        return answered && !m_dead && m_answerOk;
    }

    bool grabbed() const {
        std::lock_guard lock(m_mutex);
        return m_grabbed;
    }

private:
    void wake() {
        if (m_wake[1] >= 0) {
            const char c = 1;
            [[maybe_unused]] const auto n = ::write(m_wake[1], &c, 1);
        }
    }

    void drainWake() {
        char buf[64];
        while (m_wake[0] >= 0 && ::read(m_wake[0], buf, sizeof buf) > 0) {
        }
    }

    bool grab(Display* d) {
        const Window root = DefaultRootWindow(d);
        bool keyboard = false, pointer = false;
        // Another client may hold a grab for a moment (a menu closing); try again briefly.
        for (int i = 0; i < kGrabTries && !(keyboard && pointer); ++i) {
            if (i > 0)
                std::this_thread::sleep_for(kGrabRetry);
            if (!keyboard)
                keyboard = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
            if (!pointer)
                pointer = XGrabPointer(d, root, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                       GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
        }
        XFlush(d);
        if (!(keyboard && pointer))
            qCWarning(lcInputBlock) << "input only partly blocked: keyboard" << keyboard << "pointer" << pointer;
        m_holding = keyboard || pointer;
        return keyboard && pointer;
    }

    void ungrab(Display* d) {
        XUngrabKeyboard(d, CurrentTime);
        XUngrabPointer(d, CurrentTime);
        XSync(d, False);
        m_holding = false;
    }

    void answer(unsigned id, bool ok) {
        std::lock_guard lock(m_mutex);
        m_lastAnswer = id;
        m_answerOk = ok;
        m_grabbed = m_holding;
        m_answered.notify_all();
    }

    void run() {
        Display* d = XOpenDisplay(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
        if (!d) {
            qCWarning(lcInputBlock) << "no X display for the input block" << m_displayName;
            std::lock_guard lock(m_mutex);
            m_dead = true;
            m_answered.notify_all();
            return;
        }
        Clock::time_point deadline{};
        for (;;) {
            int timeout = -1;
            if (m_holding) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                timeout = int(std::max<long long>(0, left.count()));
            }
            pollfd fds[2] = {{ConnectionNumber(d), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            // Without a wake-up pipe the thread looks for requests every 50 ms instead.
            if (m_wake[0] < 0)
                timeout = timeout < 0 ? 50 : std::min(timeout, 50);
            if (XPending(d) == 0)
                ::poll(fds, m_wake[0] >= 0 ? 2 : 1, timeout);
            // Input delivered to the grab is dropped: that is the point of it.
            while (XPending(d) > 0) {
                XEvent ev;
                XNextEvent(d, &ev);
            }
            drainWake();

            if (m_holding && Clock::now() >= deadline) {
                {
                    std::lock_guard lock(m_mutex);
                    m_grabbed = false; // said before it happens: never "blocked" once it is not
                }
                ungrab(d);
                qCWarning(lcInputBlock) << "input block released by its time limit";
            }

            Request r;
            unsigned id;
            {
                std::lock_guard lock(m_mutex);
                r = m_request;
                id = m_lastRequest;
                m_request = Request::Nothing;
            }
            if (r == Request::Quit) {
                if (m_holding)
                    ungrab(d);
                break;
            }
            if (r == Request::Block) {
                // A block asked for while one is held keeps the first deadline: the cap
                // is a hard one.
                bool ok = true;
                if (!m_holding) {
                    ok = grab(d);
                    deadline = Clock::now() + m_cap;
                }
                answer(id, ok);
            } else if (r == Request::Release) {
                ungrab(d);
                answer(id, true);
            }
        }
        XCloseDisplay(d);
        std::lock_guard lock(m_mutex);
        m_grabbed = false;
        m_dead = true;
        m_answered.notify_all();
    }

    const QByteArray m_displayName;
    const std::chrono::milliseconds m_cap;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;

    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    Request m_request = Request::Nothing;
    unsigned m_lastRequest = 0;
    unsigned m_lastAnswer = 0;
    bool m_answerOk = false;
    bool m_grabbed = false; // published copy of m_holding
    bool m_dead = false;

    bool m_holding = false; // worker thread only
};

X11InputBlock::X11InputBlock(std::chrono::milliseconds cap, QByteArray displayName)
    : m_cap(cap), m_displayName(std::move(displayName)) {}

X11InputBlock::~X11InputBlock() = default; // the worker lets go before it ends

bool X11InputBlock::setBlocked(bool blocked) {
    if (!blocked) {
        if (!m_worker)
            return true;
        return m_worker->post(Worker::Request::Release);
    }
    if (!m_worker) {
        QByteArray name = m_displayName;
        if (name.isEmpty()) {
            // Only the program's own display is grabbed; off X11 (tests) nothing is.
            Display* qtDisplay = x11::display();
            if (!qtDisplay)
                return false;
            name = DisplayString(qtDisplay);
        }
        m_worker = std::make_unique<Worker>(name, m_cap);
    }
    return m_worker->post(Worker::Request::Block);
}

bool X11InputBlock::isBlocked() const { return m_worker && m_worker->grabbed(); }

} // namespace platform
