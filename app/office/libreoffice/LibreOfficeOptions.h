#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace vexlo::office {

struct LibreOfficeOptions {
    // Folder holding soffice.bin, fundamentalrc and the type libraries; empty: the
    // folder the program was built against.
    QString programDir;
    // Where the private profiles live; empty: the user's cache folder.
    QString profileRoot;
    // No single call may take longer; a program that does not answer in time is killed.
    std::chrono::milliseconds callTimeout{10000};
    // The first start of a program, cold profile included.
    std::chrono::milliseconds startTimeout{30000};
    // Window toolkit of the office; empty: keep SAL_USE_VCLPLUGIN if set, else "gen",
    // which works on any X server, Xvfb included.
    QString vclPlugin;
    // Told true while a window waits for a program to start (after a moment) and false
    // when it is there, for a busy pointer; the windows keep running meanwhile.
    std::function<void(bool)> busy;
};

} // namespace vexlo::office
