#include "DesktopWiring.h"

#include "timer/MainWindow.h"

namespace desktop {

void attachToMainWindow(MainWindow& window) { (void)window; }

} // namespace desktop
