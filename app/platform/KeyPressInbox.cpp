#include "KeyPressInbox.h"

namespace platform {

bool KeyPressInbox::isKeyDown(int virtualKey) {
    const bool held = m_keys.isKeyDown(virtualKey);
    return virtualKey == m_virtualKey ? m_pending.take(m_clockMs()) || held : held;
}

} // namespace platform
