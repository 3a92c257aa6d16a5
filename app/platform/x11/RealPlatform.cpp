#include "RealPlatform.h"

#include "FlockInstanceGuard.h"
#include "LinuxProcesses.h"
#include "QtChores.h"
#include "QtMessageBoxes.h"
#include "QtScreen.h"
#include "QtSoundPlayers.h"
#include "X11DesktopWindows.h"
#include "X11InputBlock.h"
#include "X11KeyState.h"
#include "X11Taskbar.h"
#include "X11WindowList.h"
#include "X11WindowPlacement.h"

namespace platform {

struct RealPlatform::Parts {
    QtMessageBoxes messages;
    QtScreen screen;
    X11WindowPlacement placement;
    FlockInstanceGuard instance;
    QtSoundPlayers sounds;
    X11KeyState keys;
    X11WindowList windows;
    X11Taskbar taskbar;
    X11InputBlock input;
    LinuxProcesses processes;
    QtChores chores;
    X11DesktopWindows desktopWindows{windows};
};

RealPlatform::RealPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_platform(std::make_unique<Platform>(
          Platform{m_parts->messages, m_parts->screen, m_parts->placement, m_parts->instance, m_parts->sounds,
                   m_parts->keys, m_parts->windows, m_parts->taskbar, m_parts->input, m_parts->processes,
                   m_parts->chores, m_parts->desktopWindows})) {}

RealPlatform::~RealPlatform() = default;

} // namespace platform
