#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

TEST(Exitproc, ComparesTheLowerCasedExecutableNameWithTheArgumentUnchanged) {
    platform::FakeProcesses p;
    p.running = {{10, QStringLiteral("bash")}, {11, QStringLiteral("POWERPNT.EXE")}, {12, QStringLiteral("soffice.bin")}};
    EXPECT_TRUE(platform::exitproc(p, QStringLiteral("powerpnt.exe")));
    EXPECT_FALSE(platform::exitproc(p, QStringLiteral("POWERPNT.EXE"))) << "the argument is not lower-cased";
    EXPECT_FALSE(platform::exitproc(p, QStringLiteral("powerpnt")));
    EXPECT_TRUE(platform::exitproc(p, QStringLiteral("soffice.bin")));
    EXPECT_FALSE(platform::exitproc(p, QStringLiteral("soffice.bin"), {12})) << "ignored processes never count";
    p.snapshotFails = true;
    EXPECT_FALSE(platform::exitproc(p, QStringLiteral("bash")));
}

} // namespace
