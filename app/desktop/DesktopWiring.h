#pragma once

class Forms;
class MainWindow;

namespace desktop {
// Registers the enlarged timer window and the floating toolbar with the window registry.
void registerWindows(Forms& forms);
// Attaches this subsystem's handlers of the main window: the 100 ms poll, the Shrink button and the title watch.
void attachToMainWindow(MainWindow& window);
} // namespace desktop
