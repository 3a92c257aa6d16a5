#include "NamelistsWiring.h"

#include "core/Forms.h"

namespace namelists {

void registerWindows(Forms& forms) { (void)forms; }

} // namespace namelists
