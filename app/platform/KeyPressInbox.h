#pragma once

#include "KeyState.h"

#include <functional>

namespace platform {

// The desktop's keys, plus presses of one key handed in from elsewhere (another start of
// the program, run by a desktop shortcut that took the key before any window of ours could
// hear it). Each handed-in press counts once, for the next question within pressLifetimeMs.
class KeyPressInbox : public KeyState {
public:
    KeyPressInbox(KeyState& keys, int virtualKey, std::function<qint64()> clockMs)
        : m_keys(keys), m_virtualKey(virtualKey), m_clockMs(std::move(clockMs)) {}
    void press() { m_pending.press(m_clockMs()); }
    bool isKeyDown(int virtualKey) override;

private:
    KeyState& m_keys;
    int m_virtualKey;
    std::function<qint64()> m_clockMs;
    PendingPress m_pending;
};

} // namespace platform
