#include "platform/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FileLookup, FindsBareNamesIgnoringCase) {
    QTemporaryDir dir;
    for (const char* name : {"MYPPT.ppt", "Note1.PPT", "name.xls"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir(QStringLiteral("note2.ppt")); // a folder is not the file

    EXPECT_EQ(platform::findFileIgnoringCase(dir.path(), QStringLiteral("myppt.ppt")), dir.filePath("MYPPT.ppt"));
    EXPECT_EQ(platform::findFileIgnoringCase(dir.path(), QStringLiteral("NOTE1.ppt")), dir.filePath("Note1.PPT"));
    EXPECT_EQ(platform::findFileIgnoringCase(dir.path(), QStringLiteral("name.xls")), dir.filePath("name.xls"));
    EXPECT_TRUE(platform::findFileIgnoringCase(dir.path(), QStringLiteral("note2.ppt")).isEmpty());
    EXPECT_TRUE(platform::findFileIgnoringCase(dir.path(), QStringLiteral("name1.xls")).isEmpty());
    EXPECT_TRUE(platform::findFileIgnoringCase(dir.path(), QString()).isEmpty());
    // Only bare names: a path must not reach outside the folder.
    EXPECT_TRUE(platform::findFileIgnoringCase(dir.path(), QStringLiteral("../MYPPT.ppt")).isEmpty());
}

} // namespace
