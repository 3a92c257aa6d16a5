#include "NamelistsWiring.h"

#include "GroupDrawWindow.h"
#include "ListDrawWindow.h"

#include "core/Forms.h"

namespace namelists {

void registerWindows(Forms& forms) {
    forms.setFactory(FormId::Form4, [](AppContext& ctx) { return std::make_unique<ListDrawWindow>(ctx); });
    forms.setFactory(FormId::Form9, [](AppContext& ctx) { return std::make_unique<GroupDrawWindow>(ctx); });
}

} // namespace namelists
