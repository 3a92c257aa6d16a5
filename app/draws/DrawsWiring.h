#pragma once

class Forms;
class MainWindow;

namespace draws {
// Registers the draw launcher, the order-number draw, the slide draw and the presentation player with the window registry.
void registerWindows(Forms& forms);
// Attaches this subsystem's handlers of the main window: the Draw button.
void attachToMainWindow(MainWindow& window);
} // namespace draws
