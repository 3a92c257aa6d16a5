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

// The desktop's global key state: true while the key is held, whichever window has the
// focus, or pressed lately and not yet asked about (see pressLifetimeMs).
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool isKeyDown(int virtualKey) = 0;
};

} // namespace platform
