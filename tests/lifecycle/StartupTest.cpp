#include "AppHarness.h"

#include "core/FormTimer.h"
#include "core/SetNumber.h"
#include "platform/KeyState.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class StartupTest : public ::testing::Test {
protected:
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(StartupTest, OpensCentredOnTopAndCompletesAHundredMillisecondsLater) {
    AppHarness h;
    ASSERT_TRUE(h.start());
    MainWindow& w = h.main();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Top(), 2000);
    EXPECT_EQ(w.Height(), 2850);
    EXPECT_EQ(w.Left(), (w.screenWidth() - w.Width()) / 2);
    EXPECT_FALSE(h.fake.placement.topmostCalls.empty());
    EXPECT_EQ(h.fake.placement.topmostCalls.back(), &w);
    EXPECT_TRUE(h.fake.messages.shown.empty());
    // Still loading.
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kelvora工具    程序载入， 请稍候…"));
    EXPECT_TRUE(w.controlWidget(QStringLiteral("Frame5"))->isVisibleTo(&w));
    EXPECT_FALSE(w.control<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    EXPECT_TRUE(w.timer(QStringLiteral("Timer2"))->enabled());
    ASSERT_TRUE(w.timer(QStringLiteral("Timer6"))->enabled());

    h.tick(w, QStringLiteral("Timer6"));
    EXPECT_TRUE(w.control<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    EXPECT_TRUE(w.control<QPushButton>(QStringLiteral("Command5"))->isEnabled());
    EXPECT_FALSE(w.control<QPushButton>(QStringLiteral("Command2"))->isEnabled());
    EXPECT_FALSE(w.control<QPushButton>(QStringLiteral("Command3"))->isEnabled());
    EXPECT_NE(w.windowTitle(), QStringLiteral("Kelvora工具    程序载入， 请稍候…"));
    EXPECT_FALSE(w.controlWidget(QStringLiteral("Frame5"))->isVisibleTo(&w));
    EXPECT_FALSE(w.timer(QStringLiteral("Timer6"))->enabled());
}

TEST_F(StartupTest, SetsTheSharedValuesAndDigitsOnlyFields) {
    AppHarness h;
    h.ctx().state.layoutMode = QStringLiteral("H");
    h.ctx().state.enlargedViewSignal = 99;
    ASSERT_TRUE(h.start());
    const AppState& s = h.ctx().state;
    EXPECT_EQ(s.layoutMode, QStringLiteral("S"));
    EXPECT_EQ(s.topmostRequest, QStringLiteral("N"));
    EXPECT_EQ(s.enlargedViewSignal, 11);
    EXPECT_EQ(s.pptFileName, QStringLiteral("MYPPT.PPT"));
    EXPECT_EQ(s.playerCloseMode, QStringLiteral("N"));
    EXPECT_EQ(s.launcherBlocked, QStringLiteral("N"));
    EXPECT_EQ(s.countdownState, AppState::Idle);
    MainWindow& w = h.main();
    for (const char* name : {"Text1", "Text2", "Text4", "Text5"})
        EXPECT_TRUE(hasDigitsOnlyStyle(w.control<QLineEdit>(QLatin1String(name)))) << name;
    EXPECT_EQ(w.control<QLabel>(QStringLiteral("Label18"))->text(), QStringLiteral("正在计时"));
    EXPECT_EQ(w.control<QLabel>(QStringLiteral("Label3"))->pos(), QPoint(54, 4));
    EXPECT_EQ(h.fake.sounds.played(), QStringList{}) << "preparing the player plays nothing";
}

TEST_F(StartupTest, SecondInstanceIsRefusedWithTheF9Message) {
    AppHarness h;
    h.fake.instance.anotherRunning = true;
    bool ended = false;
    h.ctx().forms.setEndProcess([&] { ended = true; });
    EXPECT_FALSE(h.start());
    EXPECT_TRUE(ended);
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("Kelvora工具提示："));
    EXPECT_EQ(h.fake.messages.shown[0].text,
              QStringLiteral("\r    您好，本软件已运行，请按功能键F9显示程序界面！    \r\n"));
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form1));
}

TEST_F(StartupTest, TheMainWindowIsHiddenBeforeARefusalIsShown) {
    AppHarness h;
    h.fake.instance.anotherRunning = true;
    bool visibleDuringMessage = true;
    h.fake.messages.onShow = [&](const auto&) { visibleDuringMessage = h.main().isVisible(); };
    h.start();
    EXPECT_FALSE(visibleDuringMessage);
}

TEST_F(StartupTest, F9WhileARefusalIsShownShowsNoWindowOfTheRefusedStart) {
    const struct {
        const char* why;
        bool anotherRunning;
        QStringList files;
    } cases[] = {{"second start", true, AppHarness::defaultDataFiles()},
                 {"missing files", false, AppHarness::defaultDataFiles().mid(1)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        AppHarness h(c.files);
        h.fake.instance.anotherRunning = c.anotherRunning;
        bool shownDuringMessage = true;
        h.fake.messages.onShow = [&](const auto&) {
            // The user presses F9 while the message waits; the poll gets its ticks.
            h.fake.keys.held.insert(platform::vk::f9);
            MainWindow& main = h.main();
            FormTimer* poll = main.timer(QStringLiteral("Timer2"));
            for (int i = 0; i < 3 && poll->enabled(); ++i) // a disabled timer sends no ticks
                poll->tick();
            shownDuringMessage = main.isVisible();
        };
        EXPECT_FALSE(h.start());
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_FALSE(shownDuringMessage);
    }
}

TEST_F(StartupTest, EachMissingDataFileIsEnoughToRefuse) {
    const QStringList all = AppHarness::defaultDataFiles();
    for (const QString& removed : {QStringLiteral("Note2.PPT"), QStringLiteral("name.xls"),
                                   QStringLiteral("MYPPT.ppt"), QStringLiteral("Note1.PPT")}) {
        QStringList files = all;
        files.removeAll(removed);
        AppHarness h(files);
        bool ended = false;
        h.ctx().forms.setEndProcess([&] { ended = true; });
        EXPECT_FALSE(h.start()) << removed.toStdString();
        EXPECT_TRUE(ended);
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        const QString text = h.fake.messages.shown[0].text;
        EXPECT_TRUE(text.contains(removed.toLower())) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::currentPath())) << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral(".xls")) + text.count(QStringLiteral(".ppt")), 1);
    }
}

TEST_F(StartupTest, DataFilesAreLookedUpInTheCurrentDirectory) {
    AppHarness h;
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_FALSE(h.start());
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(h.fake.messages.shown[0].text.contains(QStringLiteral("name.xls")));
}

} // namespace
