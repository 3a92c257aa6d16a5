#include "PlayerClose.h"

#include "AppContext.h"
#include "Form.h"

#include <QPushButton>

void pressPlayerClose(AppContext& ctx) {
    Form* player = ctx.forms.ref(FormId::Form8);
    if (!player)
        return;
    player->show();
    player->setTop(-2000);
    ctx.yield(2);
    // A direct press of the focused button, where the desktop would deliver an Enter key.
    if (auto* close = player->control<QPushButton>(QStringLiteral("Command1"))) {
        close->setFocus();
        close->click();
    }
}
