#include "PresentationCloser.h"

#include "core/AppContext.h"
#include "core/Form.h"
#include "core/PlayerClose.h"

PresentationCloser::PresentationCloser(Form& main) : QObject(&main), m_main(main) {
    main.onDoubleClick(QStringLiteral("Label9"), [this] { closeOpenPresentation(); });
}

void PresentationCloser::closeOpenPresentation() {
    AppContext& ctx = m_main.ctx();
    if (ctx.state.layoutMode == QLatin1String("H")) {
        // The player's own close action, run off screen; the passes over pending events
        // let it finish before the window shrinks.
        pressPlayerClose(ctx);
        ctx.yield(5);
    }
    ctx.state.layoutMode = QStringLiteral("S");
    m_main.setHeight(heightForLayoutMode(ctx.state.layoutMode));
}
