#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, Ctrl+C) are how a desktop ends a program;
// they are turned into a call on the user-interface thread, so the program ends the
// orderly way. The signal handler only writes the signal's number into a pipe, which a
// socket notifier reads. A second signal while the first is being handled ends the
// process at once: the user-interface thread may be stuck, and whatever this program
// took from the desktop comes back without it (the panel's guardian, the X server).
class EndSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; one that arrives before a handler is set waits.
    EndSignals();
    ~EndSignals() override;
    void setHandler(std::function<void(int signal)> handler) { m_handler = std::move(handler); }

    // The handlers and the pipe alone, without the notifier.
    static bool catchSignals();
    static void restoreDefaults();

private:
    void takeSignals();

    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void(int)> m_handler;
};
