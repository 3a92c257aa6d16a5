#pragma once

#include "InstanceGuard.h"
#include "MessageBoxes.h"
#include "Screen.h"
#include "SoundPlayer.h"
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
};

} // namespace platform
