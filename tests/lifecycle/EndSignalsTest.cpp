#include "AppHarness.h"

#include "lifecycle/EndSignals.h"
#include "lifecycle/ExitControl.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(EndSignals, LogoutShutdownAndInterruptEndTheProgramTheOrderlyWay) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        AppHarness program;
        ASSERT_TRUE(program.start());
        bool ended = false;
        program.ctx().forms.setEndProcess([&ended] { ended = true; });
        // What the program may have taken from the desktop at that moment.
        program.fake.taskbar.visible = false;
        program.fake.input.blocked = true;
        int caught = 0;
        EndSignals watcher;
        watcher.setHandler([&](int s) {
            caught = s;
            endForDesktop(program.ctx());
        });

        ASSERT_EQ(raise(signal), 0);
        EXPECT_FALSE(ended) << "the handler itself only writes to the pipe";
        QCoreApplication::processEvents();

        EXPECT_EQ(caught, signal);
        EXPECT_TRUE(ended);
        EXPECT_FALSE(program.ctx().forms.isLoaded(FormId::Form1));
        EXPECT_TRUE(program.fake.messages.shown.empty()) << "nobody is asked while the session ends";
        EXPECT_TRUE(program.fake.taskbar.visible);
        EXPECT_FALSE(program.fake.input.blocked);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(EndSignalsDeathTest, ASecondSignalWhileEndingEndsAtOnce) {
    EXPECT_EXIT(
        {
            EndSignals::catchSignals();
            raise(SIGTERM);
            raise(SIGHUP);
            _exit(0);
        },
        ::testing::ExitedWithCode(128 + SIGHUP), "");
    EXPECT_EXIT(
        {
            EndSignals::catchSignals();
            raise(SIGTERM);
            _exit(7);
        },
        ::testing::ExitedWithCode(7), "")
        << "one signal waits for the orderly end";
}

} // namespace
