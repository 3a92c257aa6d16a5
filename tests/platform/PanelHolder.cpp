// Hides the desktop's panel and then dies the way the test asks, so the test can see
// the panel come back on every way a program ends.
#include "platform/x11/X11Taskbar.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore); // the crashes are on purpose
    QApplication app(argc, argv);
    const char* mode = argc > 1 ? argv[1] : "wait";
    auto* taskbar = new platform::X11Taskbar;
    taskbar->hide();
    std::printf("hidden %d\n", static_cast<int>(taskbar->guardianPid()));
    std::fflush(stdout);
    if (std::strcmp(mode, "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    } else if (std::strcmp(mode, "exit") == 0) {
        _exit(3); // no destructor runs
    } else if (std::strcmp(mode, "unload") == 0) {
        delete taskbar; // the program's orderly end
        return 0;
    }
    for (;;)
        pause();
}
