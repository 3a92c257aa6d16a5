#include "RealPlatform.h"

#include "FlockInstanceGuard.h"
#include "QtMessageBoxes.h"
#include "QtScreen.h"
#include "QtSoundPlayers.h"
#include "X11WindowPlacement.h"

namespace platform {

struct RealPlatform::Parts {
    QtMessageBoxes messages;
    QtScreen screen;
    X11WindowPlacement placement;
    FlockInstanceGuard instance;
    QtSoundPlayers sounds;
};

RealPlatform::RealPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_platform(std::make_unique<Platform>(Platform{m_parts->messages, m_parts->screen, m_parts->placement,
                                                     m_parts->instance, m_parts->sounds})) {}

RealPlatform::~RealPlatform() = default;

} // namespace platform
