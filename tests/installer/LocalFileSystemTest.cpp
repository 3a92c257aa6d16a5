#include "LocalFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString& directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class LocalFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath("src"));
        ASSERT_TRUE(QDir(m_root.path()).mkpath("sys"));
    }
    QString src(const QString& name = {}) const { return m_root.filePath("src/" + name); }
    QString sys(const QString& name = {}) const { return m_root.filePath("sys/" + name); }

    QTemporaryDir m_root;
    LocalFileSystem m_fs;
};

TEST_F(LocalFileSystemTest, FindsFilesRegardlessOfCaseButNotFolders) {
    writeFile(sys("msvbvm60.dll"), "x");
    writeFile(sys("REG.EXE"), "x");
    ASSERT_TRUE(QDir(sys()).mkdir("MCI32.OCX"));

    EXPECT_EQ(m_fs.findFile(sys(), "REG.EXE"), sys("REG.EXE"));
    EXPECT_EQ(m_fs.findFile(sys(), "MSVBVM60.DLL"), sys("msvbvm60.dll"));
    EXPECT_EQ(m_fs.findFile(sys(), "MCI32.OCX"), std::nullopt);
    EXPECT_EQ(m_fs.findFile(sys(), "SYSTRAY.OCX"), std::nullopt);
    EXPECT_EQ(m_fs.findFile(m_root.filePath("nowhere"), "REG.EXE"), std::nullopt);
}

TEST_F(LocalFileSystemTest, CopyPutsContentsAndModeInPlaceAndLeavesNoTemporaryFile) {
    writeFile(src("MCI32.OCX"), QByteArray(200000, 'm'));
    ASSERT_TRUE(QFile::setPermissions(src("MCI32.OCX"), QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    const CopyResult result = m_fs.copyFile(src("MCI32.OCX"), sys("MCI32.OCX"));

    EXPECT_EQ(result.status, CopyStatus::Copied);
    EXPECT_EQ(readFile(sys("MCI32.OCX")), QByteArray(200000, 'm'));
    const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    EXPECT_EQ(QFile::permissions(sys("MCI32.OCX")) & ~userBits,
              QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(entries(sys()), QStringList{"MCI32.OCX"});
}

TEST_F(LocalFileSystemTest, CopyNeverReplacesAnExistingFile) {
    writeFile(src("MCI32.OCX"), "new");
    writeFile(sys("MCI32.OCX"), "old");

    EXPECT_EQ(m_fs.copyFile(src("MCI32.OCX"), sys("MCI32.OCX")).status, CopyStatus::AlreadyPresent);
    EXPECT_EQ(readFile(sys("MCI32.OCX")), "old");
    EXPECT_EQ(entries(sys()), QStringList{"MCI32.OCX"});
}

TEST_F(LocalFileSystemTest, FailedCopiesAreReportedAndLeaveNothingBehind) {
    writeFile(src("MCI32.OCX"), "x");
    writeFile(m_root.filePath("plainfile"), "x");
    ASSERT_TRUE(QDir(src()).mkdir("SYSTRAY.OCX"));

    const CopyResult missing = m_fs.copyFile(src("COMDLG32.OCX"), sys("COMDLG32.OCX"));
    EXPECT_EQ(missing.status, CopyStatus::SourceMissing);
    EXPECT_EQ(m_fs.copyFile(src("SYSTRAY.OCX"), sys("SYSTRAY.OCX")).status, CopyStatus::SourceMissing);

    const CopyResult noDirectory = m_fs.copyFile(src("MCI32.OCX"), m_root.filePath("absent/MCI32.OCX"));
    EXPECT_EQ(noDirectory.status, CopyStatus::Failed);
    EXPECT_FALSE(noDirectory.detail.isEmpty());
    const CopyResult notADirectory = m_fs.copyFile(src("MCI32.OCX"), m_root.filePath("plainfile/MCI32.OCX"));
    EXPECT_EQ(notADirectory.status, CopyStatus::Failed);

    EXPECT_EQ(entries(sys()), QStringList{});
}

TEST_F(LocalFileSystemTest, CopyIntoAReadOnlyFolderIsRefusedForWantOfRights) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
    writeFile(src("MCI32.OCX"), "x");
    ASSERT_TRUE(QFile::setPermissions(sys(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    EXPECT_EQ(m_fs.copyFile(src("MCI32.OCX"), sys("MCI32.OCX")).status, CopyStatus::NoPermission);
    QFile::setPermissions(sys(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(entries(sys()), QStringList{});
}

} // namespace
