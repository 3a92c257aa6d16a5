#pragma once

#include "AppHarness.h"

#include "core/FormTimer.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// The whole program on the fake desktop, started and past its start-up completion, as
// the widget suites need it.
class ReadyProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.start());
        w = &h.main();
        h.tick(*w, QStringLiteral("Timer6"));
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    AppHarness h;
    MainWindow* w = nullptr;
};
