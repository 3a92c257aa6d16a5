#include "PresentationPlayer.h"

#include "PlayerTexts.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "office/OfficeSuite.h"
#include "office/Presentation.h"
#include "office/PresentationApp.h"
#include "office/SlideShowView.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcPlayer, "vexlo.draws.player")

namespace draws {

QString presentationPath(const AppContext& ctx, const QString& bareName) {
    const QString found = platform::findFileIgnoringCase(ctx.appDir, bareName);
    return found.isEmpty() ? QDir(ctx.appDir).filePath(bareName) : found;
}

PresentationPlayer::PresentationPlayer(AppContext& ctx) : Form(ctx, Id, QStringLiteral(":/forms/Form8.json")) {
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, &PresentationPlayer::close);
    focusOnHover({QStringLiteral("Command1")});
    enableDragging({});
}

PresentationPlayer::~PresentationPlayer() = default;

void PresentationPlayer::onLoad() {
    AppContext& ctx = this->ctx();
    ctx.state.topmostRequest = QStringLiteral("Y");
    m_app = ctx.office ? ctx.office->createPresentationApp() : nullptr;
    if (m_app && !m_app->SetVisible(true))
        qCDebug(lcPlayer) << "the presentation program did not take Visible";
    if (Form* main = ctx.forms.loaded(FormId::Form1))
        main->timer(QStringLiteral("Timer2"))->setEnabled(true);

    const QString fileName = ctx.state.pptFileName;
    if (m_app)
        m_presentation = m_app->Open(presentationPath(ctx, fileName));
    if (m_presentation) {
        ctx.platform.taskbar.hide();
        m_panelHidden = true;
        if (!m_presentation->RunSlideShow())
            qCDebug(lcPlayer) << "the slide show of" << fileName << "did not start";
    }
    hide();
    if (m_presentation)
        m_view = m_presentation->SlideShowWindowView();
    makeTopmost();
    setTop(0);
    setLeft(0);

    if (!m_presentation) {
        // Nothing shows; the user hears why. The close action still works as usual.
        qCDebug(lcPlayer) << "cannot show" << fileName << (m_app ? "(not opened)" : "(no presentation program)");
        ctx.platform.messages.information(playerTexts::messageTitle, playerTexts::cannotShow(fileName));
    }
}

void PresentationPlayer::release() {
    m_view.reset();
    m_presentation.reset();
    m_app.reset();
}

void PresentationPlayer::close() {
    // The triggers may overlap (a hint double-click while the exit closes the player).
    if (m_closing)
        return;
    m_closing = true;
    AppContext& ctx = this->ctx();
    ctx.yield(1);
    if (m_app && !m_app->Quit())
        qCDebug(lcPlayer) << "the presentation program had already gone";
    ctx.yield(1);
    release();
    ctx.yield(4);
    ctx.platform.taskbar.show();
    m_panelHidden = false;
    if (ctx.state.playerCloseMode == QLatin1String("N")) {
        if (Form* main = ctx.forms.loaded(FormId::Form1)) {
            main->timer(QStringLiteral("Timer2"))->setEnabled(true);
            main->show();
        }
    }
    ctx.yield(2);
    hide();
    ctx.yield(1);
    ctx.forms.unload(Id);
    ctx.yield(3);
}

void PresentationPlayer::onUnload() {
    // Unloaded without its close action (the program ends): the show and the panel are
    // still given back.
    if (m_app) {
        m_app->Quit();
        release();
    }
    if (m_panelHidden) {
        ctx().platform.taskbar.show();
        m_panelHidden = false;
    }
}

} // namespace draws
