#pragma once

#include "platform/Taskbar.h"

#include <vector>

namespace platform {

// The panel windows of the desktop are the dock-type top-level windows.
class X11Taskbar : public Taskbar {
public:
    ~X11Taskbar() override;
    void show() override;
    void hide() override;

private:
    std::vector<unsigned long> m_hidden;
};

} // namespace platform
