#pragma once

#include "AppState.h"
#include "Forms.h"
#include "RandomSource.h"

#include <QString>

namespace platform {
struct Platform;
}
namespace vexlo::office {
class OfficeSuite;
}

// What every window is handed: the shared values, the window registry and the desktop.
class AppContext {
public:
    AppContext(platform::Platform& platform, QString appDir);

    AppState state;
    platform::Platform& platform;
    RandomSource random;
    // The presentation and spreadsheet programs the draws drive; set by the program's
    // composition (real LibreOffice) or by tests (the in-memory fake).
    vexlo::office::OfficeSuite* office = nullptr;
    Forms forms;
    // Folder of the program itself, where the draws find their workbooks and presentations.
    const QString appDir;

    // Lets pending window events run, as the handlers do at their fixed yield points.
    void yield(int times = 1) const;
};
