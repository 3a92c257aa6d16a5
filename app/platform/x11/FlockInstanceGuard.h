#pragma once

#include "platform/InstanceGuard.h"

#include <QString>

#include <memory>

class QLocalServer;

namespace platform {

// One instance per user and X display, held as an advisory lock on a file. The kernel
// drops the lock when the holder dies, so a crashed instance never blocks a new start,
// and of any number of simultaneous starts exactly one wins. The holder listens on a local
// socket beside the lock, where another start can hand it a request (the timer, asked for
// by a desktop shortcut).
class FlockInstanceGuard : public InstanceGuard {
public:
    explicit FlockInstanceGuard(QString lockPath = defaultLockPath());
    ~FlockInstanceGuard() override;
    bool claim() override;
    bool ask(const QString& request) override;

    // The lock of this user on the X display DISPLAY names, however it is written.
    static QString defaultLockPath();
    // One key per X server: screen number and spellings of the local host left out.
    static QString displayKey(const QString& display);
    static QString lockFolder();

private:
    void listen();

    QString m_path;
    int m_fd = -1;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace platform
