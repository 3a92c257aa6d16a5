#pragma once

#include "platform/KeyState.h"

namespace platform {

class PortalShortcut;

// The desktop's keys, plus one key the portal reports as a global shortcut. The portal is
// asked on the first question, so that only the running instance binds the key (a second
// start asks nothing before it ends).
class PortalKeyState : public KeyState {
public:
    PortalKeyState(KeyState& keys, int virtualKey, PortalShortcut& shortcut)
        : m_keys(keys), m_virtualKey(virtualKey), m_shortcut(shortcut) {}
    bool isKeyDown(int virtualKey) override;

private:
    KeyState& m_keys;
    int m_virtualKey;
    PortalShortcut& m_shortcut;
};

} // namespace platform
