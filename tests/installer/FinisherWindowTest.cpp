#include "FinisherWindow.h"
#include "FinisherFakes.h"
#include "FinisherTexts.h"
#include "LinuxComponents.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QStringList kComponents = {"MSSTDFMT.DLL", "MSVBVM60.DLL", "COMCTL32.OCX",
                                 "COMDLG32.OCX", "MCI32.OCX",    "SYSTRAY.OCX"};

QLabel* label1(FinisherWindow& window) {
    return window.findChild<QLabel*>("Label1");
}

QTimer* timer1(FinisherWindow& window) {
    return window.findChild<QTimer*>("Timer1");
}

QStringList startedCommands(const Journal& journal) {
    return journal.entries.filter(QRegularExpression("^start "));
}

class FinisherWindowTest : public ::testing::Test {
protected:
    FinisherWindowTest() : m_fs(m_journal), m_starter(m_journal) {
        m_fs.addDirectory("/win/system32");
        for (const QString& name : kComponents)
            m_fs.addFile("/win/system32/" + name);
    }
    Journal m_journal;
    FakeFileSystem m_fs;
    RecordingStarter m_starter;
};

TEST_F(FinisherWindowTest, DesignStateBeforeLoad) {
    FinisherWindow window(m_fs, m_starter, {QStringLiteral("/win"), "/inst"});

    EXPECT_TRUE(window.windowTitle().startsWith("Kelvora软件安装程序"));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("  安装即将完成…\u3000")));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_NE(label1(window), nullptr);
    EXPECT_EQ(label1(window)->text(), "安装程序正在完成最后的安装配置请稍候…");
    ASSERT_NE(timer1(window), nullptr);
    EXPECT_EQ(timer1(window)->interval(), 1000);
    EXPECT_FALSE(timer1(window)->isActive());
    EXPECT_TRUE(m_journal.entries.isEmpty());
}

struct BitnessCase {
    const char* name;
    bool syswow64;
    QString label;
};

class FinisherWindowBitnessTest : public FinisherWindowTest,
                                  public ::testing::WithParamInterface<BitnessCase> {};

TEST_P(FinisherWindowBitnessTest, Label1ShowsTheBitnessMessage) {
    if (GetParam().syswow64) m_fs.addDirectory("/win/syswow64");
    FinisherWindow window(m_fs, m_starter, {QStringLiteral("/win"), "/inst"});
    window.load();

    EXPECT_EQ(label1(window)->text(), GetParam().label);
    EXPECT_TRUE(timer1(window)->isActive());
    EXPECT_EQ(startedCommands(m_journal).size(), 6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinisherWindowBitnessTest,
    ::testing::Values(
        BitnessCase{"SixtyFour", true,
                    QStringLiteral(
                        "您当前使用的是64位的Windows操作系统\n\n 安装程序正在完成最后的安装设置，请稍候…")},
        BitnessCase{"ThirtyTwo", false,
                    QStringLiteral(
                        "您当前使用的是32位的Windows操作系统\n\n 安装程序正在完成最后的安装设置，请稍候…")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FinisherWindowTest, ClosesOnTheThirteenthTick) {
    FinisherWindow window(m_fs, m_starter, {QStringLiteral("/win"), "/inst"});
    QSignalSpy finished(&window, &FinisherWindow::finished);
    window.show();
    window.load();

    for (int i = 0; i < 12; ++i)
        window.tick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(timer1(window)->isActive());
    EXPECT_EQ(finished.count(), 0);

    window.tick();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(timer1(window)->isActive());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(window.tickCount(), 13);
}

TEST_F(FinisherWindowTest, PendingEventsRunBeforeTheFirstRegistration) {
    int ranBeforeStart = -1;
    bool eventRan = false;
    class ObservingStarter : public CommandStarter {
    public:
        ObservingStarter(bool& ran, int& seen) : m_ran(ran), m_seen(seen) {}
        bool start(const QString&) override {
            if (m_seen < 0) m_seen = m_ran ? 1 : 0;
            return true;
        }
        bool& m_ran;
        int& m_seen;
    } starter(eventRan, ranBeforeStart);
    FinisherWindow window(m_fs, starter, {QStringLiteral("/win"), "/inst"});
    QTimer::singleShot(0, &window, [&] { eventRan = true; });

    window.load();

    EXPECT_EQ(ranBeforeStart, 1);
}

// The Linux components as the real finisher lists them, each replaced by a scripted fake.
struct LinuxCase {
    const char* name;
    std::optional<QString> windir;
    int missingIndex; // -1: all present
};

class FinisherWindowLinuxTest : public FinisherWindowTest, public ::testing::WithParamInterface<LinuxCase> {};

TEST_P(FinisherWindowLinuxTest, NamesEachMissingComponentAndItsPackage) {
    const ComponentProbes real = linuxComponentProbes({"/no/office", "/no/data"});
    std::vector<std::shared_ptr<FakeProbe>> fakes;
    ComponentProbes probes;
    for (std::size_t i = 0; i < real.size(); ++i) {
        fakes.push_back(std::make_shared<FakeProbe>(real[i]->name(), real[i]->package(),
                                                    int(i) != GetParam().missingIndex));
        probes.push_back(fakes.back());
    }
    FinisherSettings settings{GetParam().windir, "/inst", true};
    FinisherWindow window(m_fs, m_starter, settings, probes);
    window.load();

    EXPECT_EQ(label1(window)->text(), FinisherTexts::linuxMessage(true));
    EXPECT_FALSE(timer1(window)->isActive()) << "the countdown waits for the check";
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer1(window)->isActive(); }, 10000));

    QString expected = FinisherTexts::linuxMessage(true);
    if (GetParam().missingIndex >= 0) {
        const auto& missing = real[std::size_t(GetParam().missingIndex)];
        expected = FinisherTexts::linuxMissingHeading(true) +
                   FinisherTexts::linuxMissingLine(missing->name(), missing->package());
    }
    EXPECT_EQ(label1(window)->text(), expected);
    for (const auto& fake : fakes)
        EXPECT_EQ(fake->checks, 1) << fake->name().toStdString();
    EXPECT_TRUE(m_journal.entries.filter(QRegularExpression("^(start|copy) ")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinisherWindowLinuxTest,
    ::testing::Values(LinuxCase{"NoWindir_AllPresent", std::nullopt, -1},
                      LinuxCase{"EmptyWindir_AllPresent", QString(), -1},
                      LinuxCase{"BlankWindir_AllPresent", QStringLiteral("  "), -1},
                      LinuxCase{"Missing0", std::nullopt, 0}, LinuxCase{"Missing1", std::nullopt, 1},
                      LinuxCase{"Missing2", std::nullopt, 2}, LinuxCase{"Missing3", std::nullopt, 3},
                      LinuxCase{"Missing4", std::nullopt, 4}, LinuxCase{"Missing5", std::nullopt, 5},
                      LinuxCase{"Missing6", std::nullopt, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FinisherWindowTest, LinuxTextsAsShown) {
    auto calc = std::make_shared<FakeProbe>("LibreOffice Calc 电子表格程序", "libreoffice-calc", false);
    auto help = std::make_shared<FakeProbe>("帮助文件查看程序 xchm 或 kchmviewer", "xchm", false);
    FinisherWindow window(m_fs, m_starter, {std::nullopt, "/inst", false}, {calc, help});
    window.load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer1(window)->isActive(); }, 10000));

    EXPECT_EQ(label1(window)->text(),
              QStringLiteral("您当前使用的是32位的Linux操作系统\n\n"
                             "以下运行组件缺失，主程序的相应功能将无法使用，请安装所列软件包：\n"
                             "\u3000LibreOffice Calc 电子表格程序（软件包 libreoffice-calc）\n"
                             "\u3000帮助文件查看程序 xchm 或 kchmviewer（软件包 xchm）"));
}

TEST_F(FinisherWindowTest, ClosingDuringTheCheckStopsIt) {
    auto slow = std::make_shared<FakeProbe>("office", "libreoffice-core", true, true);
    auto later = std::make_shared<FakeProbe>("font", "fonts-noto-cjk", true);
    {
        FinisherWindow window(m_fs, m_starter, {std::nullopt, "/inst"}, {slow, later});
        window.load();
        ASSERT_TRUE(QTest::qWaitFor([&] { return slow->checks == 1; }, 10000));
    }
    EXPECT_TRUE(slow->sawStop);
    EXPECT_EQ(later->checks, 0);
}

} // namespace
