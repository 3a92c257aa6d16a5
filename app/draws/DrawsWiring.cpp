#include "DrawsWiring.h"

#include "core/Forms.h"
#include "timer/MainWindow.h"

namespace draws {

void registerWindows(Forms& forms) { (void)forms; }

void attachToMainWindow(MainWindow& window) { (void)window; }

} // namespace draws
