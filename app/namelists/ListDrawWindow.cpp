#include "ListDrawWindow.h"

#include "ListDrawTexts.h"

namespace namelists {

DrawWindowSpec ListDrawWindow::makeSpec() {
    DrawWindowSpec spec = commonDrawWindowSpec(Id, ListLayout::nameList(), 9885);
    spec.editCaption = listDrawTexts::editCaption;
    spec.resultsCaption = listDrawTexts::resultsCaption;
    spec.roundOverMessage = listDrawTexts::roundOver;
    spec.retakeUsedRangeOnView = true;
    return spec;
}

ListDrawWindow::ListDrawWindow(AppContext& ctx) : NameDrawWindow(ctx, makeSpec()) {}

} // namespace namelists
