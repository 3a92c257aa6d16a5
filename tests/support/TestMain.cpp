#include "core/FormTimer.h"

#include <QApplication>
#include <gmock/gmock.h>

// Shared main of the Qt test suites: one application object, timers fired by hand.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FormTimer::setManualMode(true);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
