#include "NamelistsWiring.h"

#include "ListDrawWindow.h"

#include "core/Forms.h"

namespace namelists {

void registerWindows(Forms& forms) {
    forms.setFactory(FormId::Form4, [](AppContext& ctx) { return std::make_unique<ListDrawWindow>(ctx); });
}

} // namespace namelists
