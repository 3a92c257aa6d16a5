#include "DrawsWiring.h"

#include "DrawButton.h"
#include "DrawLauncher.h"
#include "OrderDraw.h"
#include "PresentationPlayer.h"
#include "SlideDraw.h"

#include "core/Forms.h"
#include "timer/MainWindow.h"

namespace draws {

void registerWindows(Forms& forms) {
    forms.setFactory(FormId::Form2, [](AppContext& ctx) { return std::make_unique<DrawLauncher>(ctx); });
    forms.setFactory(FormId::Form7, [](AppContext& ctx) { return std::make_unique<OrderDraw>(ctx); });
    forms.setFactory(FormId::Form5, [](AppContext& ctx) { return std::make_unique<SlideDraw>(ctx); });
    forms.setFactory(FormId::Form8, [](AppContext& ctx) { return std::make_unique<PresentationPlayer>(ctx); });
}

void attachToMainWindow(MainWindow& window) { DrawButton::attach(window); }

} // namespace draws
