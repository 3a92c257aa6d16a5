#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>

namespace vexlo::office::lo {

// One private profile folder, held exclusively (an advisory lock that the kernel drops
// when this process dies) so two offices never share it: a second office on the same
// profile would hand its work to the first and exit.
class ProfileSlot {
public:
    // The lowest free slot under `root`, created when missing; null when none is free.
    static std::unique_ptr<ProfileSlot> acquire(const QString& root);
    // Whether some process holds the slot that owns `profileDir`.
    static bool inUse(const QString& profileDir);
    ~ProfileSlot();

    QString dir() const { return m_dir; }
    QString url() const;
    // Removes the hand-over pipe files of the slots under `root` that no office of ours
    // holds: a killed office leaves its file behind, named after its profile.
    static void removeIdlePipeFiles(const QString& root);

private:
    ProfileSlot(QString dir, int fd) : m_dir(std::move(dir)), m_fd(fd) {}
    QString m_dir;
    int m_fd;
};

// A child office process in its own process group. It receives SIGKILL when the thread
// that spawned it ends, which covers every way this program can die, crashes included.
class OfficeProcess {
public:
    // Must be called on a thread that lives as long as the process should.
    static std::unique_ptr<OfficeProcess> spawn(const QString& executable, const QStringList& args,
                                                const QList<QByteArray>& environment, const QString& logFile);
    ~OfficeProcess();

    qint64 pid() const { return m_pid; }
    // Reaps the child if it has ended.
    bool running();
    std::optional<int> exitCode() const { return m_exitCode; }
    bool waitForExit(std::chrono::milliseconds timeout);
    void kill();

private:
    explicit OfficeProcess(qint64 pid) : m_pid(pid) {}
    bool isZombie() const;
    bool waitForReport(std::chrono::milliseconds timeout);
    qint64 m_pid;
    bool m_reaped = false;
    std::optional<int> m_exitCode;
};

// The environment of the parent with `overrides` ("NAME=value") replacing or adding.
QList<QByteArray> childEnvironment(const QList<QByteArray>& overrides);

// The pipe through which a second start of an office with this profile hands its
// arguments to the first: LibreOffice names it after the profile's address (MD5 of its
// UTF-16 code units).
QString singleOfficePipeName(const QString& profileUrl);
// The socket file an office pipe leaves behind when the office is killed.
void removePipeFile(const QString& pipeName);
// Pipe files left by earlier runs of this program that were killed outright.
void removeStalePipeFiles(const QString& prefix);

} // namespace vexlo::office::lo
