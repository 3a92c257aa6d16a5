// The real component checks against real conditions: the office on this machine, folders and
// search paths made for the case.
#include "LinuxComponents.h"
#include "OfficeBridgeProbe.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value)
        : m_name(name), m_saved(qgetenv(name)), m_was(qEnvironmentVariableIsSet(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvironmentValue() { m_was ? qputenv(m_name, m_saved) : qunsetenv(m_name); }

private:
    const char* m_name;
    QByteArray m_saved;
    bool m_was;
};

void makeFile(const QString& path, const QByteArray& contents = "#!/bin/sh\nexit 3\n") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// Offices started with a profile in this folder that are still running.
QStringList officesUsing(const QString& folder) {
    QStringList found;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(QFile::encodeName(folder)))
            found.append(pid);
    }
    return found;
}

QSet<QString> officePipes() {
    const QStringList names = QDir("/tmp").entryList({"OSL_PIPE_*"}, QDir::System | QDir::Files);
    return {names.begin(), names.end()};
}

// Pipe files that appeared since `before` and that no live office listens on any more.
QStringList leftPipes(const QSet<QString>& before) {
    QFile table("/proc/net/unix");
    const QByteArray bound = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    QStringList left;
    for (const QString& name : officePipes() - before)
        if (!bound.contains(QFile::encodeName("/tmp/" + name))) left.append(name);
    return left;
}

struct OfficeCase {
    const char* name;
    std::function<QString(const QTemporaryDir&)> programDir;
    bool stopAtOnce;
    bool present;
};

class OfficeBridgeProbeTest : public ::testing::TestWithParam<OfficeCase> {};

TEST_P(OfficeBridgeProbeTest, AnswersOverItsPipeAndLeavesNothingBehind) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString data = root.filePath("data");
    const QSet<QString> pipesBefore = officePipes();
    OfficeBridgeProbe probe(GetParam().programDir(root), data);
    std::stop_source stop;
    if (GetParam().stopAtOnce) stop.request_stop();

    EXPECT_EQ(probe.isPresent(stop.get_token()), GetParam().present);

    EXPECT_EQ(officesUsing(data).join(' ').toStdString(), "");
    EXPECT_EQ(
        QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(' ').toStdString(),
        "");
    EXPECT_EQ(leftPipes(pipesBefore).join(' ').toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OfficeBridgeProbeTest,
    ::testing::Values(
        OfficeCase{"OfficeOfThisMachine", [](const QTemporaryDir&) { return QString(VEXLO_LO_PROGRAM_DIR); },
                   false, true},
        OfficeCase{"StoppedWhileStarting", [](const QTemporaryDir&) { return QString(VEXLO_LO_PROGRAM_DIR); },
                   true, false},
        OfficeCase{"NoOffice", [](const QTemporaryDir& root) { return root.path(); }, false, false},
        OfficeCase{"OfficeThatEndsAtOnce",
                   [](const QTemporaryDir& root) {
                       makeFile(root.filePath("soffice.bin"));
                       return root.path();
                   },
                   false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ProbeCase {
    const char* name;
    const char* package;
    std::function<void(QTemporaryDir&)> arrange; // the office folder is root/program, PATH root/bin
    bool present;
};

class LinuxProbeTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(LinuxProbeTest, ChecksWhatTheMainProgramUses) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("program") && QDir(root.path()).mkpath("bin"));
    EnvironmentValue display("DISPLAY", qgetenv("DISPLAY")); // restored after the case
    GetParam().arrange(root);
    EnvironmentValue path("PATH", QFile::encodeName(root.filePath("bin")));
    std::shared_ptr<ComponentProbe> probe;
    for (const auto& candidate : linuxComponentProbes({root.filePath("program"), root.filePath("data")}))
        if (candidate->package() == GetParam().package) probe = candidate;
    ASSERT_NE(probe, nullptr);

    EXPECT_EQ(probe->isPresent({}), GetParam().present);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinuxProbeTest,
    ::testing::Values(ProbeCase{"CalcWithItsXlsFilter", "libreoffice-calc",
                                [](QTemporaryDir& r) {
                                    makeFile(r.filePath("program/libsclo.so"));
                                    makeFile(r.filePath("program/libscfiltlo.so"));
                                },
                                true},
                      ProbeCase{"CalcWithoutItsXlsFilter", "libreoffice-calc",
                                [](QTemporaryDir& r) { makeFile(r.filePath("program/libsclo.so")); }, false},
                      ProbeCase{"ImpressWithoutSlideShows", "libreoffice-impress",
                                [](QTemporaryDir& r) { makeFile(r.filePath("program/libsdlo.so")); }, false},
                      ProbeCase{"SecondHelpViewer", "xchm",
                                [](QTemporaryDir& r) { makeFile(r.filePath("bin/kchmviewer")); }, true},
                      ProbeCase{"HelpViewerNotExecutable", "xchm",
                                [](QTemporaryDir& r) {
                                    makeFile(r.filePath("bin/xchm"));
                                    QFile::setPermissions(r.filePath("bin/xchm"), QFileDevice::ReadOwner);
                                },
                                false},
                      ProbeCase{"NoDisplay", "xwayland", [](QTemporaryDir&) { qunsetenv("DISPLAY"); },
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchitectureTest, SixtyFourBitNames) {
    for (const char* name : {"x86_64", "arm64", "riscv64", "power64", "s390x"})
        EXPECT_TRUE(isSixtyFourBitArchitecture(name)) << name;
    for (const char* name : {"i386", "arm", "mips", "power"})
        EXPECT_FALSE(isSixtyFourBitArchitecture(name)) << name;
}

} // namespace
