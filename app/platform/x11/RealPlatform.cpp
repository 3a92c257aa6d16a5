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
#include "platform/KeyPressInbox.h"
#include "platform/gnome/GnomeF9Shortcut.h"

#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <thread>

namespace platform {

namespace {
constexpr char showTimerRequest[] = "show-timer";

} // namespace

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
    std::unique_ptr<KeyPressInbox> askedKeys;
    std::jthread shortcutOffer;

    // Another start's request for the timer is one press of F9.
    KeyState& keysInUse() {
        clock.start();
        askedKeys = std::make_unique<KeyPressInbox>(desktopKeys(), vk::f9, [this] { return clock.elapsed(); });
        instance.onAsked([this](const QString& request) {
            if (request != QLatin1String(showTimerRequest))
                return false;
            askedKeys->press();
            return true;
        });
        return *askedKeys;
    }

    KeyState& desktopKeys() {
        if (!waylandSession())
            return keys;
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

void RealPlatform::offerDesktopShortcut(const QString& command) {
    if (!waylandSession() || !gnomeSession())
        return;
    GnomeF9Shortcut::Setup setup{
        QStringLiteral("Kelvora工具：显示计时窗口"), command,
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("vexlo/gnome-f9-shortcut")),
        &GnomeF9Shortcut::runGsettings};
    // Off the user-interface thread: the portal may be started on demand, gsettings is a
    // program of its own.
    m_parts->shortcutOffer = std::jthread([setup] {
        if (PortalShortcut::offeredBy(QDBusConnection::sessionBus()))
            return; // the portal's shortcut is the way there
        const auto outcome = GnomeF9Shortcut::offer(setup);
        qDebug("GNOME shortcut for F9: %d (0 offered before, 1 key taken, 2 added, 3 failed)", int(outcome));
    });
}

bool RealPlatform::showTimerInRunningInstance() {
    if (m_parts->instance.claim())
        return false;
    if (!m_parts->instance.ask(QLatin1String(showTimerRequest)))
        qWarning("the running instance did not answer the request for the timer");
    return true;
}

} // namespace platform
