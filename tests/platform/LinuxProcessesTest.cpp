#include "platform/x11/LinuxProcesses.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using platform::LinuxProcesses;

// The probe's file name on disk has capitals on purpose.
const QString probeName = QFileInfo(QStringLiteral(VEXLO_PROBE)).fileName();

// A started probe; ended and reaped when the test lets go of it.
class Probe {
public:
    explicit Probe(const char* mode) {
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {const_cast<char*>(VEXLO_PROBE), const_cast<char*>(mode), nullptr};
        if (posix_spawn(&m_pid, VEXLO_PROBE, &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_out = out[0];
    }
    ~Probe() {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }
    pid_t pid() const { return m_pid; }

    // Blocks until the probe has set itself up (it writes one byte).
    bool ready() {
        char c = 0;
        return m_pid > 0 && read(m_out, &c, 1) == 1;
    }
    // Waits for the end (bounded), reaps it, returns the wait status; -1 if still running.
    int waitForEnd(int timeoutMs) {
        const int fd = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
        if (fd < 0)
            return -1;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, timeoutMs);
        close(fd);
        if (ready != 1)
            return -1;
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_reaped = true;
        return status;
    }
    bool stillRunning() const {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_reaped = false;
};

TEST(LinuxProcesses, SnapshotFindsAStartedHelperByItsExecutableName) {
    Probe probe("wait");
    ASSERT_TRUE(probe.ready());
    LinuxProcesses processes;
    const auto entries = processes.snapshot();
    ASSERT_TRUE(entries.has_value());
    const auto it = std::find_if(entries->begin(), entries->end(),
                                 [&](const platform::ProcessEntry& e) { return e.pid == probe.pid(); });
    ASSERT_NE(it, entries->end());
    EXPECT_EQ(it->exeName, probeName) << "the name as on disk, case kept";
    EXPECT_TRUE(std::any_of(entries->begin(), entries->end(),
                            [](const platform::ProcessEntry& e) { return e.pid == getpid(); }));
}

TEST(LinuxProcesses, ExitprocMatchesTheLowerCasedNameAndNeverAnUpperCaseArgument) {
    LinuxProcesses processes;
    const QString lower = probeName.toLower();
    const QString upper = probeName.toUpper();
    ASSERT_NE(probeName, lower) << "the probe's name must have capitals for this test";
    EXPECT_FALSE(platform::exitproc(processes, lower)) << "no probe left from an earlier test";

    Probe probe("wait");
    ASSERT_TRUE(probe.ready());
    struct Case {
        QString name;
        QList<qint64> ignored;
        bool running;
    } cases[] = {
        {lower, {}, true},
        {upper, {}, false},
        {probeName, {}, false}, // compared unchanged with the lower-cased name
        {lower.left(lower.size() - 1), {}, false},
        {lower, {probe.pid()}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::exitproc(processes, c.name, c.ignored), c.running) << c.name.toStdString();

    kill(probe.pid(), SIGKILL);
    ASSERT_NE(probe.waitForEnd(10000), -1);
    EXPECT_FALSE(platform::exitproc(processes, lower)) << "gone once it ended";
}

TEST(LinuxProcesses, AnEndedProcessNotYetReapedIsNotRunning) {
    Probe probe("exit");
    ASSERT_GT(probe.pid(), 0);
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(probe.pid()), &info, WEXITED | WNOWAIT), 0); // ended, left unreaped
    LinuxProcesses processes;
    EXPECT_FALSE(platform::exitproc(processes, probeName.toLower()));
}

} // namespace
