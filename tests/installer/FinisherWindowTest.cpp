#include "FinisherWindow.h"
#include "FinisherFakes.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
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

TEST_F(FinisherWindowTest, MissingWindirIsExplainedAndTheWindowStillCloses) {
    FinisherWindow window(m_fs, m_starter, {std::nullopt, "/inst"});
    QSignalSpy finished(&window, &FinisherWindow::finished);
    window.load();

    EXPECT_TRUE(label1(window)->text().contains("windir"));
    EXPECT_TRUE(m_journal.entries.filter(QRegularExpression("^(start|copy) ")).isEmpty());
    for (int i = 0; i < 13; ++i)
        window.tick();
    EXPECT_EQ(finished.count(), 1);
}

} // namespace
