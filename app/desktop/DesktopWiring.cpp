#include "DesktopWiring.h"

#include "core/Forms.h"

namespace desktop {

void registerWindows(Forms& forms) { (void)forms; }

} // namespace desktop
