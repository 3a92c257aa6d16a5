#include "DesktopWiring.h"

#include "EnlargedWindow.h"
#include "FloatingToolbar.h"

#include "core/Forms.h"

namespace desktop {

void registerWindows(Forms& forms) {
    forms.setFactory(FormId::Form6, [](AppContext& ctx) { return std::make_unique<EnlargedWindow>(ctx); });
    forms.setFactory(FormId::Form3, [](AppContext& ctx) { return std::make_unique<FloatingToolbar>(ctx); });
}

} // namespace desktop
