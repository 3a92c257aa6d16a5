#include "RealPlatform.h"

#include "FlockInstanceGuard.h"
#include "LinuxProcesses.h"
#include "QtChores.h"
#include "QtMessageBoxes.h"
#include "QtScreen.h"
#include "QtSoundPlayers.h"
#include "SessionPlatform.h"
#include "X11DesktopWindows.h"
#include "X11InputBlock.h"
#include "X11KeyState.h"
#include "X11Taskbar.h"
#include "X11WindowList.h"
#include "X11WindowPlacement.h"
#include "platform/portal/PortalKeyState.h"
#include "platform/portal/PortalShortcut.h"

#include <QDBusConnection>
#include <QElapsedTimer>

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
    // In a Wayland session F9 also comes through the desktop portal: the compositor tells
    // XWayland of no key while a native window has the keyboard.
    QElapsedTimer clock;
    std::unique_ptr<PortalShortcut> f9;
    std::unique_ptr<PortalKeyState> portalKeys;

    KeyState& keysInUse() {
        if (!waylandSession())
            return keys;
        clock.start();
        f9 = std::make_unique<PortalShortcut>(
            QDBusConnection::sessionBus(),
            PortalShortcut::Key{QStringLiteral("show-timer"), QStringLiteral("Kelvora工具：显示计时窗口"),
                                QStringLiteral("F9"), QStringLiteral("vexlo_timer")},
            [this] { return clock.elapsed(); });
        portalKeys = std::make_unique<PortalKeyState>(keys, vk::f9, *f9);
        return *portalKeys;
    }
};

RealPlatform::RealPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_platform(std::make_unique<Platform>(
          Platform{m_parts->messages, m_parts->screen, m_parts->placement, m_parts->instance, m_parts->sounds,
                   m_parts->keysInUse(), m_parts->windows, m_parts->taskbar, m_parts->input, m_parts->processes,
                   m_parts->chores, m_parts->desktopWindows})) {}

RealPlatform::~RealPlatform() = default;

} // namespace platform
