#include "SingleInstanceLock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using Result = SingleInstanceLock::Result;

class SingleInstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString lockPath() const { return m_dir.filePath("finisher.lock"); }
    QTemporaryDir m_dir;
};

TEST_F(SingleInstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    SingleInstanceLock first(lockPath());
    SingleInstanceLock second(lockPath());
    ASSERT_EQ(first.acquire(), Result::Acquired);
    EXPECT_EQ(second.acquire(), Result::HeldElsewhere);
    first.release();
    EXPECT_EQ(second.acquire(), Result::Acquired);
}

TEST_F(SingleInstanceLockTest, StartedProcessesDoNotInheritTheLock) {
    SingleInstanceLock first(lockPath());
    ASSERT_EQ(first.acquire(), Result::Acquired);
    QProcess child;
    child.start("sleep", {"30"});
    ASSERT_TRUE(child.waitForStarted());

    first.release();
    SingleInstanceLock next(lockPath());
    EXPECT_EQ(next.acquire(), Result::Acquired) << "a started command still holds the lock";

    child.kill();
    child.waitForFinished();
}

TEST_F(SingleInstanceLockTest, APlantedLinkIsNotFollowed) {
    const QString victim = m_dir.filePath("victim");
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    ASSERT_TRUE(QFile::link(victim, lockPath()));

    SingleInstanceLock lock(lockPath());
    EXPECT_EQ(lock.acquire(), Result::Unavailable);
}

TEST_F(SingleInstanceLockTest, DefaultPathIsPerUser) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");

    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    EXPECT_EQ(SingleInstanceLock::defaultPath(), m_dir.path() + "/Vexlo-finisher.lock");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.filePath("gone")));
    EXPECT_EQ(SingleInstanceLock::defaultPath(), QString("/tmp/Vexlo-finisher-%1.lock").arg(::geteuid()));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstanceLock::defaultPath(), QString("/tmp/Vexlo-finisher-%1.lock").arg(::geteuid()));

    if (wasSet) qputenv("XDG_RUNTIME_DIR", saved);
}

} // namespace
