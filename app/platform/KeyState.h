#pragma once

namespace platform {

// Virtual-key codes as the program names its keys.
namespace vk {
constexpr int backspace = 0x08;
constexpr int enter = 0x0D;
constexpr int f9 = 0x78;
} // namespace vk

// The desktop's global key state: true while the key is held, whichever window has the
// focus. No history of presses.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool isKeyDown(int virtualKey) = 0;
};

} // namespace platform
