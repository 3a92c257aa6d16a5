#include "DesktopWiring.h"

#include "core/Forms.h"
#include "timer/MainWindow.h"

namespace desktop {

void registerWindows(Forms& forms) { (void)forms; }

void attachToMainWindow(MainWindow& window) { (void)window; }

} // namespace desktop
