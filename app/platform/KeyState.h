#pragma once

#include <QtGlobal>

namespace platform {

// Virtual-key codes as the program names its keys.
namespace vk {
constexpr int backspace = 0x08;
constexpr int enter = 0x0D;
constexpr int f9 = 0x78;
} // namespace vk

// How long a press nobody has asked about yet still counts: a key pressed while nobody
// asked is not acted on much later.
constexpr qint64 pressLifetimeMs = 500;

// A press heard from elsewhere than the key state (the portal, another start): it counts
// for the next question within pressLifetimeMs and is forgotten then.
class PendingPress {
public:
    void press(qint64 nowMs) { m_at = nowMs; }
    bool take(qint64 nowMs) {
        if (m_at < 0)
            return false;
        const bool fresh = nowMs - m_at <= pressLifetimeMs;
        m_at = -1;
        return fresh;
    }

private:
    qint64 m_at = -1;
};

// The desktop's global key state: true while the key is held, whichever window has the
// focus, or pressed lately and not yet asked about (see pressLifetimeMs).
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool isKeyDown(int virtualKey) = 0;
};

} // namespace platform
