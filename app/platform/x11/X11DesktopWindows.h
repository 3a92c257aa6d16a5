#pragma once

#include "platform/DesktopWindows.h"

namespace platform {

class WindowList;

// The windows found by the desktop's window walk, with their class hint and process read
// from X, and the process's owner from /proc. A close goes through the window manager when
// one runs (it may ask the program, or track the request), else straight to the window as
// the ICCCM delete message; a window that takes neither is left alone, never destroyed.
class X11DesktopWindows : public DesktopWindows {
public:
    explicit X11DesktopWindows(WindowList& walk) : m_walk(walk) {}
    std::vector<ClientWindow> list() override;
    bool requestClose(quint64 id) override;

private:
    WindowList& m_walk;
};

} // namespace platform
