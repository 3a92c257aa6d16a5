#include "KeyPressInbox.h"

namespace platform {

bool KeyPressInbox::isKeyDown(int virtualKey) {
    const bool held = m_keys.isKeyDown(virtualKey);
    if (virtualKey != m_virtualKey || !m_pressedAt)
        return held;
    const bool fresh = m_clockMs() - *m_pressedAt <= pressLifetimeMs;
    m_pressedAt.reset();
    return held || fresh;
}

} // namespace platform
