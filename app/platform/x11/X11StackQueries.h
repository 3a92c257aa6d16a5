#pragma once

#include <QRect>

#include <vector>

struct _XDisplay;

// Reads of the window manager's view of the desktop that the always-on-top keeper needs.
// Every read is one property request; a window that is gone reads as empty.
namespace platform::x11 {

// A window manager runs when the root names a check window that names itself.
bool windowManagerRuns(_XDisplay* d);
// Managed windows, bottom to top, as the manager stacks them.
std::vector<unsigned long> stackingOrder(_XDisplay* d);
bool isFullscreen(_XDisplay* d, unsigned long window);
// The window's area on the root window, in pixels (empty when it is gone).
QRect rootGeometry(_XDisplay* d, unsigned long window);

// The child of the root that holds the window: its frame, when the manager made one.
unsigned long topLevelOf(_XDisplay* d, unsigned long window);

// Waits, bounded, until the window is a child of the root again: a manager that saw it
// unmapped lets go of it by taking it out of its frame. Returns whether it did.
bool waitUntilReleased(_XDisplay* d, unsigned long window, int maxMs);

// Unmaps the window and tells the manager it is withdrawn, as a client withdraws a window.
void withdraw(_XDisplay* d, unsigned long window);
// Whether the manager is to leave the window alone when it is next mapped.
void setOverrideRedirect(_XDisplay* d, unsigned long window, bool on);

// The manager's state "above": kept above ordinary windows. Sent as a pager sends it, so
// the manager treats it as the user's wish and moves no focus.
void requestAboveState(_XDisplay* d, unsigned long window);
// Raises the window to the top of its layer without activating it.
void requestRaise(_XDisplay* d, unsigned long window);

} // namespace platform::x11
