#include "EndSignals.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcEndSignals, "vexlo.lifecycle.signals")

namespace {

constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_caught = 0;

void onSignal(int signal) {
    if (g_caught)
        _exit(128 + signal);
    g_caught = signal;
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

bool EndSignals::catchSignals() {
    if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return false;
    }
    g_caught = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : endSignals)
        sigaction(signal, &action, nullptr);
    return true;
}

void EndSignals::restoreDefaults() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : endSignals)
        sigaction(signal, &action, nullptr);
}

EndSignals::EndSignals() {
    if (!catchSignals()) {
        qCWarning(lcEndSignals) << "no pipe for signals; the desktop's end stays abrupt";
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &EndSignals::takeSignals);
}

EndSignals::~EndSignals() {
    restoreDefaults();
    m_notifier.reset();
}

void EndSignals::takeSignals() {
    unsigned char byte = 0;
    while (read(g_pipe[0], &byte, 1) == 1) {
        qCDebug(lcEndSignals) << "signal" << byte << "ends the program";
        if (m_handler)
            m_handler(byte);
    }
}
