#pragma once

namespace platform {

// The desktop's panel (taskbar). Hidden while slides show full screen; whatever hid it
// must show it again. A desktop without a panel makes both calls do nothing.
class Taskbar {
public:
    virtual ~Taskbar() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
};

} // namespace platform
