#pragma once

class Forms;

namespace namelists {
// Registers the name-list draw and the group draw with the window registry.
void registerWindows(Forms& forms);
} // namespace namelists
