#include "PortalKeyState.h"

#include "PortalShortcut.h"

namespace platform {

bool PortalKeyState::isKeyDown(int virtualKey) {
    if (virtualKey != m_virtualKey) return m_keys.isKeyDown(virtualKey);
    m_shortcut.start();
    // Both are asked, so that a press heard both ways is taken from both and counts once.
    const bool granted = m_shortcut.takeActivation();
    return m_keys.isKeyDown(virtualKey) || granted;
}

} // namespace platform
