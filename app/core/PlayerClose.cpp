#include "PlayerClose.h"

#include "AppContext.h"
#include "Form.h"

#include <QPushButton>

void pressPlayerClose(AppContext& ctx) {
    Form* player = ctx.forms.ref(FormId::Form8);
    if (!player)
        return;
    // The player is never shown: a window manager keeps windows on the screen, so one
    // placed above it would still show as a sliver. Its button is pressed directly.
    player->setTop(-2000);
    ctx.yield(2);
    if (auto* close = player->control<QPushButton>(QStringLiteral("Command1"))) {
        close->setFocus();
        close->click();
    }
}
