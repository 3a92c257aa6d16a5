#pragma once

namespace platform {

// In a Wayland session the program still runs as an X11 client (through XWayland): titles
// of other programs, positions, "always on top" and opacity exist only there. The user's
// own choice of platform (QT_QPA_PLATFORM) is left alone. Call before QApplication.
// Returns whether it chose xcb.
bool preferX11Platform();

// Whether the desktop session is a Wayland one, whatever platform Qt was given.
bool waylandSession();

// Whether the desktop is GNOME's.
bool gnomeSession();

} // namespace platform
