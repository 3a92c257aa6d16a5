#include "Shrink.h"

#include "TitleWatch.h"

#include "core/AppContext.h"
#include "core/Form.h"
#include "core/FormTimer.h"

#include <QPushButton>

namespace {
constexpr int toolbarStripHeight = 510;
}

Shrink::Shrink(Form& main, TitleWatch& watch) : QObject(&main), m_main(main), m_watch(watch) {
    if (auto* button = main.control<QPushButton>(QStringLiteral("Command4")))
        connect(button, &QPushButton::clicked, this, &Shrink::click);
}

void Shrink::click() {
    AppContext& ctx = m_main.ctx();
    // Without a toolbar to take its place the main window stays, or nothing would be left.
    Form* toolbar = ctx.forms.ref(FormId::Form3);
    if (!toolbar)
        return;
    ctx.state.topmostRequest = QStringLiteral("Y");
    m_watch.matchCollected();
    m_main.hide();
    ctx.state.dockedLeft = ctx.state.dockedTop = ctx.state.dockedRight = 0;

    toolbar->setLeft(m_main.Left() + (m_main.Width() - toolbar->Width()) / 2);
    toolbar->setTop(m_main.Top());
    toolbar->setHeight(toolbarStripHeight);
    toolbar->show();
    for (const char* name : {"Timer1", "Timer2"}) {
        if (FormTimer* t = toolbar->timer(QLatin1String(name)))
            t->setEnabled(true);
    }
}
