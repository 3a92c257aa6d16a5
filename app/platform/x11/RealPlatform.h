#pragma once

#include "platform/Platform.h"

#include <QString>

#include <memory>

namespace platform {

// The desktop this program runs on: Qt widgets plus X11 for what Qt lacks.
class RealPlatform {
public:
    RealPlatform();
    ~RealPlatform();
    Platform& get() { return *m_platform; }
    // A start asked to bring the timer up (`--show-timer`, what a desktop shortcut for F9
    // runs): true when another instance runs on this desktop and was asked, so this one
    // has nothing more to do; false when this one is the instance.
    bool showTimerInRunningInstance();
    // Once the program runs: in a GNOME Wayland session whose portal has no global
    // shortcuts, F9 becomes a GNOME shortcut that runs `--show-timer` (in the background).
    void offerDesktopShortcut(const QString& command);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_platform;
};

} // namespace platform
