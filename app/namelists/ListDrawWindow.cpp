#include "ListDrawWindow.h"

#include "ListDrawTexts.h"

namespace namelists {

DrawWindowSpec ListDrawWindow::makeSpec() {
    DrawWindowSpec spec;
    spec.id = Id;
    spec.layoutResource = QStringLiteral(":/forms/Form4.json");
    spec.list = &ListLayout::nameList();
    spec.fullWidth = 9885;
    spec.fullHeight = 7590;
    spec.compactWidth = 5595;
    spec.compactHeight = 4095;
    spec.editCaption = listDrawTexts::editCaption;
    spec.resultsCaption = listDrawTexts::resultsCaption;
    spec.roundOverMessage = listDrawTexts::roundOver;
    spec.retakeUsedRangeOnView = true;
    for (int n : {1, 2, 3, 4, 5, 6})
        spec.hoverButtons << QStringLiteral("Command%1").arg(n);
    for (int n : {1, 2, 3, 4, 5})
        spec.dragControls << QStringLiteral("Frame%1").arg(n);
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        spec.dragControls << QStringLiteral("Label%1").arg(n);
    for (int n : {1, 2, 3})
        spec.dragControls << QStringLiteral("Text%1").arg(n);
    return spec;
}

ListDrawWindow::ListDrawWindow(AppContext& ctx) : NameDrawWindow(ctx, makeSpec()) {}

} // namespace namelists
