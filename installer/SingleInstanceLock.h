#pragma once

#include <QString>

// One finisher per user at a time. The lock is an flock on a file in the user's runtime
// folder, so it goes away with the process however it ends: a crashed finisher never blocks
// the next start. The descriptor is not inherited by the commands the finisher starts.
class SingleInstanceLock {
public:
    enum class Result {
        Acquired,
        HeldElsewhere, // another finisher runs
        Unavailable,   // no lock could be made; the finisher runs rather than do nothing
    };

    explicit SingleInstanceLock(QString path);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result acquire();
    void release();

    // $XDG_RUNTIME_DIR/Vexlo-finisher.lock, or a per-user name in /tmp.
    static QString defaultPath();

private:
    QString m_path;
    int m_fd = -1;
};
