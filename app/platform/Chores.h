#pragma once

namespace platform {

// Small desktop chores: the system beep and putting the UI thread to sleep.
class Chores {
public:
    virtual ~Chores() = default;
    virtual void beep() = 0;
    virtual void sleep(int milliseconds) = 0;
};

} // namespace platform
