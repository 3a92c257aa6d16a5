#pragma once

class QWidget;

namespace platform {

// Stacking services Qt does not cover portably.
class WindowPlacement {
public:
    virtual ~WindowPlacement() = default;
    // Puts the window at the top of the always-on-top band, keeping position and size.
    virtual void makeTopmost(QWidget* window) = 0;
};

} // namespace platform
