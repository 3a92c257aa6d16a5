#include "CommandLine.h"
#include "Components.h"
#include "WindowsPath.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    QString text;
    QStringList words;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsLikeTheCommandInterpreter) {
    EXPECT_EQ(splitCommandLine(GetParam().text), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"RegistrationWithDoubleAndTrailingBlanks",
                  QStringLiteral("Regsvr32.EXE  MSSTDFMT.DLL  /s  "),
                  {QStringLiteral("Regsvr32.EXE"), QStringLiteral("MSSTDFMT.DLL"), QStringLiteral("/s")}},
        SplitCase{
            "CompatibilityLineKeepsBackslashesAndBlanksInQuotes",
            QStringLiteral("REG.EXE ADD \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
                           "NT\\CurrentVersion\\AppCompatFlags\\Layers\" /v \"/opt/my app\\Vexlo7.56.exe\" "
                           "/t reg_sz /d \"WINXPSP3\"  /f "),
            {QStringLiteral("REG.EXE"), QStringLiteral("ADD"),
             QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
                            "NT\\CurrentVersion\\AppCompatFlags\\Layers"),
             QStringLiteral("/v"), QStringLiteral("/opt/my app\\Vexlo7.56.exe"), QStringLiteral("/t"),
             QStringLiteral("reg_sz"), QStringLiteral("/d"), QStringLiteral("WINXPSP3"),
             QStringLiteral("/f")}},
        SplitCase{"QuotesJoinWithNeighbouringText",
                  QStringLiteral("a pre\"fix suf\"fix b"),
                  {QStringLiteral("a"), QStringLiteral("prefix suffix"), QStringLiteral("b")}},
        SplitCase{"EmptyQuotesGiveAnEmptyWord",
                  QStringLiteral("a \"\" b"),
                  {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        SplitCase{"TabsSeparate", QStringLiteral("a\tb"), {QStringLiteral("a"), QStringLiteral("b")}},
        SplitCase{"UnterminatedQuoteRunsToTheEnd",
                  QStringLiteral("a \"b c "),
                  {QStringLiteral("a"), QStringLiteral("b c ")}},
        SplitCase{"BlankTextHasNoWords", QStringLiteral("   "), {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct JoinCase {
    const char* name;
    QString base;
    QString tail;
    QString joined;
};

class JoinWindowsPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinWindowsPathTest, UsesThePlatformSeparator) {
    EXPECT_EQ(joinWindowsPath(GetParam().base, GetParam().tail), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinWindowsPathTest,
    ::testing::Values(JoinCase{"SystemDirectory", QStringLiteral("/srv/win"), QStringLiteral("\\system32"),
                               QStringLiteral("/srv/win/system32")},
                      JoinCase{"TrailingSeparatorsAreNotDoubled", QStringLiteral("/srv/win//"),
                               QStringLiteral("\\syswow64"), QStringLiteral("/srv/win/syswow64")},
                      JoinCase{"RootStaysRoot", QStringLiteral("/"), QStringLiteral("\\system32"),
                               QStringLiteral("/system32")},
                      JoinCase{"SeveralParts", QStringLiteral("/w"), QStringLiteral("\\system32\\MCI32.OCX"),
                               QStringLiteral("/w/system32/MCI32.OCX")},
                      JoinCase{"BlanksInNamesAreKept", QStringLiteral("/my win"),
                               QStringLiteral("\\system32"), QStringLiteral("/my win/system32")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompatibilityCommandTest, CarriesTheSourceDirectoryInTheValueName) {
    EXPECT_EQ(
        compatibilityCommand(QStringLiteral("/opt/安装 目录"), QStringLiteral("\\Vexlo7.561.exe")),
        QStringLiteral("REG.EXE ADD \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
                       "NT\\CurrentVersion\\AppCompatFlags\\Layers\" /v \"/opt/安装 目录\\Vexlo7.561.exe\" "
                       "/t reg_sz /d \"WINXPSP3\"  /f "));
}

} // namespace
