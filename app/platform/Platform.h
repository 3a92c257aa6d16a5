#pragma once

#include "Chores.h"
#include "DesktopWindows.h"
#include "InputBlock.h"
#include "InstanceGuard.h"
#include "KeyState.h"
#include "MessageBoxes.h"
#include "Processes.h"
#include "Screen.h"
#include "SoundPlayer.h"
#include "Taskbar.h"
#include "WindowList.h"
#include "WindowPlacement.h"

namespace platform {

// The desktop services the windows use, each behind its own small interface. The real
// backend (Qt + X11) and the fake one (tests) both hand out one of these.
struct Platform {
    MessageBoxes& messages;
    Screen& screen;
    WindowPlacement& placement;
    InstanceGuard& instance;
    SoundPlayers& sounds;
    KeyState& keys;
    WindowList& windows;
    Taskbar& taskbar;
    InputBlock& input;
    Processes& processes;
    Chores& chores;
    DesktopWindows& desktopWindows;
};

} // namespace platform
