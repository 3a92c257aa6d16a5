#pragma once

#include "core/AppContext.h"

// The composition root: every window of the program registered with the window
// registry, each with the handlers its subsystems attach. The program and the tests
// build the same application, on the real or the fake desktop.
class Application {
public:
    Application(platform::Platform& platform, QString appDir);

    AppContext& ctx() { return m_ctx; }

    // Loads the main window (its load handler is the start-up sequence) and shows it
    // unless start-up refused to run. False when the process is to end.
    bool start();

private:
    void registerForms();

    AppContext m_ctx;
};
