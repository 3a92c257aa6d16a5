#pragma once

// Xlib's display of the running Qt application, or nullptr when the program does not
// run on X11 (offscreen tests). Kept free of Xlib headers so callers stay clean.
struct _XDisplay;
namespace platform::x11 {
_XDisplay* display();

// Ignores X errors (a window vanishing between two requests) while alive.
class ErrorTrap {
public:
    ErrorTrap();
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    void* m_previous;
};
} // namespace platform::x11
