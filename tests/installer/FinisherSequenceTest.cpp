#include "Finisher.h"
#include "FinisherFakes.h"
#include "FinisherTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kSystem = QStringLiteral("/win/system32");
const QString kSource = QStringLiteral("/inst");

const QString k32Bit =
    QStringLiteral("您当前使用的是32位的Windows操作系统\n\n 安装程序正在完成最后的安装设置，请稍候…");
const QString k64Bit =
    QStringLiteral("您当前使用的是64位的Windows操作系统\n\n 安装程序正在完成最后的安装设置，请稍候…");

const QStringList kCopyOrder = {"MSSTDFMT.DLL", "MSVBVM60.DLL", "COMCTL32.OCX",
                                "COMDLG32.OCX", "MCI32.OCX",    "SYSTRAY.OCX"};

// Registration order with the exact command texts.
const QList<std::pair<QString, QString>> kRegistrations = {
    {"MSVBVM60.DLL", "Regsvr32.EXE  MSVBVM60.DLL  /s  "},
    {"MSSTDFMT.DLL", "Regsvr32.EXE  MSSTDFMT.DLL  /s  "},
    {"SYSTRAY.OCX", "Regsvr32.EXE  SYSTRAY.OCX  /s  "},
    {"MCI32.OCX", "Regsvr32.EXE  MCI32.OCX  /s  "},
    {"COMDLG32.OCX", "Regsvr32.EXE  COMDLG32.OCX  /s  "},
    {"COMCTL32.OCX", "Regsvr32.EXE  COMCTL32.OCX  /s  "},
};

const QStringList kCompatibility = {
    "start REG.EXE ADD \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
    "NT\\CurrentVersion\\AppCompatFlags\\Layers\" "
    "/v \"/inst\\Vexlo7.56.exe\" /t reg_sz /d \"WINXPSP3\"  /f ",
    "start REG.EXE ADD \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
    "NT\\CurrentVersion\\AppCompatFlags\\Layers\" "
    "/v \"/inst\\Vexlo7.561.exe\" /t reg_sz /d \"WINXPSP3\"  /f ",
};

QString message(const QString& text) {
    return QStringLiteral("message ") + text;
}

QStringList copies(const QStringList& names, const QString& system = kSystem) {
    QStringList entries;
    for (const QString& name : names)
        entries.append(QStringLiteral("copy %1/%2 -> %3/%2").arg(kSource, name, system));
    return entries;
}

// Four yields before every component, a start only for those present.
QStringList registrations(const QStringList& missing = {}) {
    QStringList entries;
    for (const auto& [name, command] : kRegistrations) {
        entries << "yield"
                << "yield"
                << "yield"
                << "yield";
        if (!missing.contains(name)) entries.append(QStringLiteral("start ") + command);
    }
    return entries;
}

QString notRegistered(const QStringList& names) {
    QString text = FinisherTexts::registrationFailuresHeading();
    for (const QString& name : names)
        text += FinisherTexts::copyFailureLine(name, "无法启动“Regsvr32.EXE”");
    return text;
}

QString failures(const QList<std::pair<QString, QString>>& components) {
    QString text = FinisherTexts::copyFailuresHeading(kSystem);
    for (const auto& [name, reason] : components)
        text += FinisherTexts::copyFailureLine(name, reason);
    return text;
}

void addAll(FakeFileSystem& fs, const QString& directory, const QStringList& names = kCopyOrder) {
    fs.addDirectory(directory);
    for (const QString& name : names)
        fs.addFile(directory + u'/' + name);
}

QStringList without(QStringList names, const QString& name) {
    names.removeAll(name);
    return names;
}

struct SequenceCase {
    const char* name;
    std::function<void(FakeFileSystem&)> arrange;
    QStringList expected;
    std::optional<QString> windir = QStringLiteral("/win");
    QString sourceDirectory = kSource;
    QStringList programsNotOnPath = {};
};

class FinisherSequenceTest : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(FinisherSequenceTest, RunsTheLoadSequence) {
    Journal journal;
    FakeFileSystem fs(journal);
    fs.addDirectory(QStringLiteral("/win"));
    GetParam().arrange(fs);
    RecordingStarter starter(journal, GetParam().programsNotOnPath);
    RecordingUi ui(journal);

    Finisher(fs, starter, ui).run({GetParam().windir, GetParam().sourceDirectory});

    EXPECT_EQ(journal.entries, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinisherSequenceTest,
    ::testing::Values(
        SequenceCase{"AllPresent_NothingCopiedSixRegisteredTwoMarked",
                     [](FakeFileSystem& fs) {
                         addAll(fs, kSystem, kCopyOrder + QStringList{"REG.EXE"});
                         addAll(fs, kSource);
                     },
                     QStringList{message(k32Bit)} + registrations() + kCompatibility},
        SequenceCase{"NonePresent_CopiedInCopyOrderThenRegistered",
                     [](FakeFileSystem& fs) {
                         addAll(fs, kSystem, {"REG.EXE"});
                         addAll(fs, kSource);
                     },
                     QStringList{message(k32Bit)} + copies(kCopyOrder) + registrations() + kCompatibility},
        SequenceCase{"PartlyPresent_OnlyTheMissingOnesCopied",
                     [](FakeFileSystem& fs) {
                         addAll(fs, kSystem, {"MSVBVM60.DLL", "SYSTRAY.OCX", "REG.EXE"});
                         addAll(fs, kSource);
                     },
                     QStringList{message(k32Bit)} +
                         copies({"MSSTDFMT.DLL", "COMCTL32.OCX", "COMDLG32.OCX", "MCI32.OCX"}) +
                         registrations() + kCompatibility},
        SequenceCase{
            "PresentUnderOtherCase_NotCopiedButRegistered",
            [](FakeFileSystem& fs) {
                addAll(fs, kSystem, without(kCopyOrder, "MCI32.OCX") + QStringList{"mci32.ocx", "reg.exe"});
                addAll(fs, kSource);
            },
            QStringList{message(k32Bit)} + registrations() + kCompatibility},
        SequenceCase{"MissingEverywhere_ReportedAndSkippedInRegistration",
                     [](FakeFileSystem& fs) {
                         addAll(fs, kSystem, {"REG.EXE"});
                         addAll(fs, kSource, without(kCopyOrder, "MCI32.OCX"));
                     },
                     QStringList{message(k32Bit)} + copies(without(kCopyOrder, "MCI32.OCX")) +
                         QStringList{message(k32Bit + failures({{"MCI32.OCX", "安装目录中没有此文件"}}))} +
                         registrations({"MCI32.OCX"}) + kCompatibility},
        SequenceCase{
            "CopyDenied_ReportedRestGoesOn",
            [](FakeFileSystem& fs) {
                addAll(fs, kSystem, {"REG.EXE"});
                addAll(fs, kSource);
                fs.failCopyTo(kSystem + "/COMDLG32.OCX", {CopyStatus::NoPermission, "Permission denied"});
                fs.failCopyTo(kSystem + "/SYSTRAY.OCX", {CopyStatus::Failed, "Input/output error"});
            },
            QStringList{message(k32Bit)} + copies(kCopyOrder) +
                QStringList{message(k32Bit + failures({{"COMDLG32.OCX", "没有写入系统目录的权限"},
                                                       {"SYSTRAY.OCX", "复制失败（Input/output error）"}}))} +
                registrations({"COMDLG32.OCX", "SYSTRAY.OCX"}) + kCompatibility},
        SequenceCase{"AppearedMeanwhile_NotAFailure",
                     [](FakeFileSystem& fs) {
                         addAll(fs, kSystem, {"REG.EXE"});
                         addAll(fs, kSource);
                         fs.failCopyTo(kSystem + "/MCI32.OCX", {CopyStatus::AlreadyPresent, {}});
                         fs.addFile(kSystem + "/MCI32.OCX.later"); // unrelated name, must not count
                     },
                     QStringList{message(k32Bit)} + copies(kCopyOrder) + registrations({"MCI32.OCX"}) +
                         kCompatibility},
        SequenceCase{"NoRegExe_NoCompatibilityCommand", [](FakeFileSystem& fs) { addAll(fs, kSystem); },
                     QStringList{message(k32Bit)} + registrations()},
        SequenceCase{"SixtyFourBit_ComponentsStillInSystem32",
                     [](FakeFileSystem& fs) {
                         addAll(fs, "/win/syswow64");
                         addAll(fs, kSystem, {"REG.EXE"});
                         addAll(fs, kSource);
                     },
                     QStringList{message(k64Bit)} + copies(kCopyOrder) + registrations() + kCompatibility},
        SequenceCase{"WindirWithTrailingSeparator",
                     [](FakeFileSystem& fs) { addAll(fs, kSystem, kCopyOrder + QStringList{"REG.EXE"}); },
                     QStringList{message(k32Bit)} + registrations() + kCompatibility,
                     QStringLiteral("/win/")},
        SequenceCase{"NoSystemDirectory_MessageOnly",
                     [](FakeFileSystem& fs) { addAll(fs, kSource); },
                     {message(k32Bit), message(k32Bit + FinisherTexts::noSystemDirectoryNote(kSystem))}},
        SequenceCase{"QuoteInSourceDirectory_NoCompatibilityCommand",
                     [](FakeFileSystem& fs) { addAll(fs, kSystem, kCopyOrder + QStringList{"REG.EXE"}); },
                     QStringList{message(k32Bit)} + registrations() +
                         QStringList{message(k32Bit + FinisherTexts::quoteInSourceDirectoryNote())},
                     QStringLiteral("/win"), QStringLiteral("/in\"st")},
        SequenceCase{.name = "MixedCaseFolders_FoundAsOnWindows",
                     .arrange =
                         [](FakeFileSystem& fs) {
                             fs.addDirectory("/win/SysWOW64");
                             addAll(fs, "/win/System32", {"msvbvm60.dll", "Reg.exe"});
                             addAll(fs, kSource);
                         },
                     .expected = QStringList{message(k64Bit)} +
                                 copies(without(kCopyOrder, "MSVBVM60.DLL"), "/win/System32") +
                                 registrations() + kCompatibility},
        SequenceCase{
            .name = "RegistrationProgramNotOnPath_EveryComponentNamed",
            .arrange = [](FakeFileSystem& fs) { addAll(fs, kSystem, kCopyOrder + QStringList{"REG.EXE"}); },
            .expected = QStringList{message(k32Bit)} + registrations() +
                        QStringList{
                            message(k32Bit + notRegistered({"MSVBVM60.DLL", "MSSTDFMT.DLL", "SYSTRAY.OCX",
                                                            "MCI32.OCX", "COMDLG32.OCX", "COMCTL32.OCX"}))} +
                        kCompatibility,
            .programsNotOnPath = {"Regsvr32.EXE"}},
        SequenceCase{
            .name = "RegExeNotOnPath_CompatibilityNotSet",
            .arrange = [](FakeFileSystem& fs) { addAll(fs, kSystem, kCopyOrder + QStringList{"REG.EXE"}); },
            .expected = QStringList{message(k32Bit)} + registrations() + kCompatibility +
                        QStringList{message(k32Bit + "\n\n无法启动“REG.EXE”，未能设置兼容模式。")},
            .programsNotOnPath = {"REG.EXE"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
