#include "platform/KeyPressInbox.h"
#include "platform/x11/FlockInstanceGuard.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::FlockInstanceGuard;

TEST(InstanceGuard, SecondClaimIsRefusedUntilTheFirstHolderGoes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("instance.lock"));
    auto first = std::make_unique<FlockInstanceGuard>(path);
    ASSERT_TRUE(first->claim());
    EXPECT_TRUE(first->claim()) << "claiming again keeps the instance";
    FlockInstanceGuard second(path);
    EXPECT_FALSE(second.claim());
    first.reset();
    EXPECT_TRUE(second.claim());
}

TEST(InstanceGuard, ACrashedHolderDoesNotBlockTheNextStart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("instance.lock"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FlockInstanceGuard guard(path);
        const char ok = guard.claim() ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char got = 0;
    ASSERT_EQ(read(ready[0], &got, 1), 1);
    ASSERT_EQ(got, 'y');
    EXPECT_FALSE(FlockInstanceGuard(path).claim());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(FlockInstanceGuard(path).claim());
}

TEST(InstanceGuard, OfTwentySimultaneousStartsExactlyOneRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("instance.lock"));
    int results[2], go[2], done[2];
    ASSERT_EQ(pipe(results), 0);
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(done), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 20; ++i) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(go[1]);
            close(done[1]);
            char start;
            (void)!read(go[0], &start, 1); // all wait for the same moment
            FlockInstanceGuard guard(path);
            const char ok = guard.claim() ? 'y' : 'n';
            (void)!write(results[1], &ok, 1);
            (void)!read(done[0], &start, 1); // hold the claim until the parent has counted
            _exit(0);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(done[0]);
    const std::string all(20, 's');
    ASSERT_EQ(write(go[1], all.data(), all.size()), 20);
    int winners = 0;
    for (int i = 0; i < 20; ++i) {
        char r = 0;
        ASSERT_EQ(read(results[0], &r, 1), 1);
        winners += r == 'y';
    }
    close(done[1]); // releases everyone
    for (pid_t c : children)
        waitpid(c, nullptr, 0);
    EXPECT_EQ(winners, 1);
}

TEST(InstanceGuard, DefaultLockIsPerUserAndDisplay) {
    const QString path = FlockInstanceGuard::defaultLockPath();
    EXPECT_TRUE(path.contains(QString::number(getuid())));
    EXPECT_FALSE(path.section(u'/', -1).contains(u':')) << "display names are made file-safe";
}

TEST(InstanceGuard, OneLockPerXDisplayHoweverDisplayIsWritten) {
    const QString local = FlockInstanceGuard::displayKey(QStringLiteral(":7"));
    for (const char* same : {":7", ":7.0", ":7.1", "unix:7", "localhost:7.0", "/tmp/launch-x/org.x:7"})
        EXPECT_EQ(FlockInstanceGuard::displayKey(QLatin1String(same)), local) << same;
    for (const char* other : {":8", "otherhost:7", ""})
        EXPECT_NE(FlockInstanceGuard::displayKey(QLatin1String(other)), local) << other;
}

TEST(InstanceGuard, TheLockDoesNotDependOnXdgRuntimeDir) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir elsewhere;
    qputenv("XDG_RUNTIME_DIR", elsewhere.path().toLocal8Bit());
    const QString with = FlockInstanceGuard::defaultLockPath();
    qunsetenv("XDG_RUNTIME_DIR");
    const QString without = FlockInstanceGuard::defaultLockPath();
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_EQ(with, without);
}

// A later start run by a desktop shortcut hands its request to the running instance, where
// it counts as one press of the key; nobody else takes it, and nothing runs without a holder.
TEST(InstanceGuard, AnotherStartsRequestReachesTheHolderAsOneKeyPress) {
    struct NoKeys : platform::KeyState {
        bool isKeyDown(int) override { return false; }
    } desktop;
    qint64 now = 0;
    platform::KeyPressInbox keys(desktop, platform::vk::f9, [&now] { return now; });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("instance.lock"));
    FlockInstanceGuard later(path);
    auto askFromAnotherThread = [&later](const QString& request) {
        std::atomic<int> answer{-1};
        std::thread asker([&] { answer = later.ask(request) ? 1 : 0; });
        while (answer < 0) // the holder answers from its event loop
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        asker.join();
        return answer == 1;
    };
    EXPECT_FALSE(askFromAnotherThread(QStringLiteral("show-timer"))) << "nobody holds the claim";

    FlockInstanceGuard holder(path);
    ASSERT_TRUE(holder.claim());
    holder.onAsked([&keys](const QString& request) {
        if (request != QLatin1String("show-timer"))
            return false;
        keys.press();
        return true;
    });
    EXPECT_FALSE(later.claim());
    EXPECT_FALSE(askFromAnotherThread(QStringLiteral("something-else")));
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9));
    EXPECT_TRUE(askFromAnotherThread(QStringLiteral("show-timer")));
    now += 100;
    EXPECT_TRUE(keys.isKeyDown(platform::vk::f9));
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9)) << "one request, one press";
    EXPECT_TRUE(askFromAnotherThread(QStringLiteral("show-timer")));
    now += platform::pressLifetimeMs + 1;
    EXPECT_FALSE(keys.isKeyDown(platform::vk::f9)) << "a press nobody asked about in time lapses";
}

} // namespace
