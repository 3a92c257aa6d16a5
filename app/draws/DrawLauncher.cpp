#include "DrawLauncher.h"

#include "DrawCount.h"
#include "LauncherTexts.h"
#include "PresentationProgram.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "core/PlayerClose.h"
#include "core/SetNumber.h"
#include "core/Twips.h"
#include "office/OfficeSuite.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopeGuard>

Q_LOGGING_CATEGORY(lcLauncher, "vexlo.draws.launcher")

namespace draws {

namespace {
constexpr int menuHeight = 6585;
constexpr int menuPanelHeight = 5445;
constexpr int countBoxHeight = 2955;
constexpr int countPanelHeight = 2460;

void setHeightTwips(QWidget* control, int height) { control->resize(control->width(), twips::toPixels(height)); }
} // namespace

DrawLauncher::DrawLauncher(AppContext& ctx)
    : Form(ctx, Id, QStringLiteral(":/forms/Form2.json")), m_count(control<QLineEdit>(QStringLiteral("Text2"))) {
    auto button = [this](const char* name) { return control<QPushButton>(QLatin1String(name)); };
    connect(button("Command11"), &QPushButton::clicked, this, &DrawLauncher::showCountBox);
    connect(button("Command5"), &QPushButton::clicked, this, &DrawLauncher::confirmCount);
    connect(button("Command6"), &QPushButton::clicked, this, &DrawLauncher::cancel);
    connect(button("Command10"), &QPushButton::clicked, this, [this] { openListDraw(FormId::Form4); });
    connect(button("Command3"), &QPushButton::clicked, this, [this] { openListDraw(FormId::Form9); });
    connect(button("Command12"), &QPushButton::clicked, this, &DrawLauncher::openSlideDraw);
    connect(button("Command1"), &QPushButton::clicked, this,
            [this] { playInstructions(launcherTexts::note1File, launcherTexts::presentationOpenNote1); });
    connect(button("Command2"), &QPushButton::clicked, this,
            [this] { playInstructions(launcherTexts::note2File, launcherTexts::presentationOpenNote2); });
    connect(button("Command8"), &QPushButton::clicked, this, &DrawLauncher::endOrderDraw);
    connect(button("Command9"), &QPushButton::clicked, this, &DrawLauncher::continueOrderDraw);
    onClick(QStringLiteral("Label1"), [this] { returnToMainWindow(); });
    onClick(QStringLiteral("Image1"), [this] { returnToMainWindow(); });
    connect(m_count, &QLineEdit::textChanged, this, &DrawLauncher::countEdited);
    setCloseAction([this] { closeAsShown(); });
    timer(QStringLiteral("Timer1"))->setHandler([this] { keepOnScreen(); });
    // The question covers the count prompt beneath it and reads from the top down.
    auto* question = control<QLabel>(QStringLiteral("Label7"));
    question->setAutoFillBackground(true);
    question->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    focusOnHover({QStringLiteral("Command1"), QStringLiteral("Command2"), QStringLiteral("Command3"),
                  QStringLiteral("Command5"), QStringLiteral("Command6"), QStringLiteral("Command8"),
                  QStringLiteral("Command9"), QStringLiteral("Command10"), QStringLiteral("Command11"),
                  QStringLiteral("Command12")});
    enableDragging({QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Frame3"),
                    QStringLiteral("Frame4"), QStringLiteral("Frame5"), QStringLiteral("Label2"),
                    QStringLiteral("Label5"), QStringLiteral("Label6"), QStringLiteral("Label7"),
                    QStringLiteral("Label8")});
}

Form* DrawLauncher::mainWindow() const { return ctx().forms.ref(FormId::Form1); }

void DrawLauncher::onLoad() {
    control<QLabel>(QStringLiteral("Label7"))->setText(launcherTexts::exitConfirmation);
    // Every fresh launcher gets the style, not only the one loaded at start-up.
    SetNumber(m_count, true);
    if (Form* main = mainWindow())
        setTop(main->Top());
    setLeft(centredLeft());
    makeTopmost();
}

void DrawLauncher::onUnload() { dropWarmOffice(); }

void DrawLauncher::dropWarmOffice() {
    if (ctx().office)
        ctx().office->dropWarmedUp();
}

void DrawLauncher::openInPlaceOfMainWindow(Form& main) {
    AppContext& ctx = this->ctx();
    setWindowTitle(main.windowTitle());
    ctx.platform.taskbar.show();
    ctx.state.topmostRequest = QStringLiteral("Y");
    setLeft(centredLeft());
    setHeight(menuHeight);
    c("Frame3")->show();
    setHeightTwips(c("Frame1"), menuPanelHeight);
    setTop(main.Top());
    main.timer(QStringLiteral("Timer2"))->setEnabled(false);
    main.hide();
    show();
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    c("Frame3")->show();
    // Three of the menu's six ways show a presentation: its program starts while the
    // teacher chooses, so the show is up soon after the click.
    if (ctx.office)
        ctx.office->warmUp(vexlo::office::OfficeKind::Presentation);
}

void DrawLauncher::showCountBox() {
    // A launcher last used for the exit confirmation gets its count entry back.
    hideExitConfirmation();
    for (const char* name : {"Frame4", "Text2", "Command5"})
        c(name)->show();
    c("Frame3")->hide();
    setHeightTwips(c("Frame1"), countPanelHeight);
    setHeight(countBoxHeight);
    // Ready for typing: the first key replaces the proposed count.
    m_count->setFocus(Qt::OtherFocusReason);
    m_count->selectAll();
}

void DrawLauncher::confirmCount() {
    AppContext& ctx = this->ctx();
    ctx.state.drawTotal = static_cast<float>(confirmedDrawCount(m_count->text()));
    dropWarmOffice();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    // A draw left behind (the main window was called back by F9 meanwhile) would ignore
    // the new count; the confirmed count starts a draw of its own.
    if (ctx.forms.isLoaded(FormId::Form7))
        ctx.forms.unload(FormId::Form7);
    Form* draw = ctx.forms.ref(FormId::Form7);
    if (!draw) {
        qCWarning(lcLauncher) << "the order-number draw is not built in";
        returnToMainWindow();
        return;
    }
    draw->show();
    if (Form* main = mainWindow())
        draw->setWindowTitle(main->windowTitle());
}

void DrawLauncher::cancel() {
    AppContext& ctx = this->ctx();
    Form* main = mainWindow();
    main->timer(QStringLiteral("Timer2"))->setEnabled(true);
    ctx.yield(1);
    ctx.forms.unload(Id);
    main->show();
}

void DrawLauncher::closeAsShown() {
    // The way out of what is on show: the confirmation's "继续抽签", the count box's
    // "取消", the menu's "返回".
    if (c("Command9")->isVisibleTo(this))
        continueOrderDraw();
    else if (!c("Frame3")->isVisibleTo(this))
        cancel();
    else
        returnToMainWindow();
}

void DrawLauncher::returnToMainWindow() {
    dropWarmOffice();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    Form* main = mainWindow();
    main->centreHorizontally();
    main->show();
    main->timer(QStringLiteral("Timer2"))->setEnabled(true);
    ctx().state.topmostRequest = QStringLiteral("N");
}

void DrawLauncher::openListDraw(FormId id) {
    AppContext& ctx = this->ctx();
    // Until that window is part of the program the button leaves the menu as it is.
    if (!ctx.forms.hasFactory(id)) {
        qCDebug(lcLauncher) << "no window" << static_cast<int>(id) << "built in";
        return;
    }
    ctx.state.topmostRequest = QStringLiteral("Y");
    dropWarmOffice();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    ctx.forms.ref(id);
    ctx.yield(2);
    // Its load may have ended it already (for example a workbook it could not read).
    Form* draw = ctx.forms.loaded(id);
    if (!draw)
        return;
    draw->show();
    draw->setWindowTitle(mainWindow()->windowTitle());
    draw->setTop(draw->centredTop());
    draw->setLeft(draw->centredLeft());
}

bool DrawLauncher::presentationProgramBlocks(const QString& text) {
    AppContext& ctx = this->ctx();
    const bool running = PresentationProgram::of(ctx).running(ctx);
    if (!running || ctx.state.layoutMode != QLatin1String("S"))
        return false;
    ctx.platform.messages.information(launcherTexts::hintTitle, text);
    returnToMainWindow();
    return true;
}

void DrawLauncher::closeOpenPlayer() {
    AppContext& ctx = this->ctx();
    pressPlayerClose(ctx);
    ctx.yield(3);
    ctx.state.layoutMode = QStringLiteral("S");
    ctx.yield(3);
}

void DrawLauncher::openSlideDraw() {
    const auto untaken = qScopeGuard([this] { dropWarmOffice(); });
    if (presentationProgramBlocks(launcherTexts::presentationOpenSlides))
        return;
    AppContext& ctx = this->ctx();
    if (!ctx.forms.hasFactory(FormId::Form5)) {
        qCDebug(lcLauncher) << "no slide draw built in";
        return;
    }
    ctx.state.topmostRequest = QStringLiteral("Y");
    ctx.state.playerCloseMode = QStringLiteral("Y");
    Form* main = mainWindow();
    main->hide();
    main->setHeight(heightForLayoutMode(QStringLiteral("S")));
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    if (ctx.state.layoutMode == QLatin1String("H"))
        closeOpenPlayer();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    ctx.forms.ref(FormId::Form5);
    Form* slides = ctx.forms.loaded(FormId::Form5);
    if (!slides)
        return;
    slides->show();
    slides->setWindowTitle(main->windowTitle());
    slides->setLeft(slides->centredLeft());
    slides->setTop(main->Top());
}

void DrawLauncher::playInstructions(const QString& fileName, const QString& presentationOpenText) {
    const auto untaken = qScopeGuard([this] { dropWarmOffice(); });
    if (presentationProgramBlocks(presentationOpenText))
        return;
    AppContext& ctx = this->ctx();
    if (!ctx.forms.hasFactory(FormId::Form8)) {
        qCDebug(lcLauncher) << "no presentation player built in";
        return;
    }
    const int tall = heightForLayoutMode(QStringLiteral("H"));
    ctx.state.topmostRequest = QStringLiteral("Y");
    ctx.state.playerCloseMode = QStringLiteral("N");
    Form* main = mainWindow();
    main->controlWidget(QStringLiteral("Frame4"))->show();
    main->centreHorizontally();
    main->setHeight(tall);
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    if (ctx.state.layoutMode == QLatin1String("H"))
        closeOpenPlayer();
    ctx.state.pptFileName = fileName;
    main->setHeight(tall);
    main->controlWidget(QStringLiteral("Frame4"))->show();
    main->show();
    ctx.yield(2);
    ctx.forms.ref(FormId::Form8);
    ctx.yield(1);
    if (Form* player = ctx.forms.loaded(FormId::Form8)) {
        // Kept off the screen and never shown; its close button is pressed directly.
        player->setTop(-2000);
        ctx.state.layoutMode = QStringLiteral("H");
        // Some window managers (openbox, KWin) keep a focused fullscreen show above every
        // "keep above" window: the panel takes the focus, as the player's own showing did,
        // so the hint line that closes the presentation is on screen for the teacher.
        main->raise();
        main->activateWindow();
    } else {
        qCDebug(lcLauncher) << "the player ended while loading";
    }
    main->timer(QStringLiteral("Timer2"))->setEnabled(true);
}

void DrawLauncher::countEdited() {
    const int failed = countEntryFailedChecks(m_count->text());
    for (int i = 0; i < failed; ++i) {
        ctx().platform.chores.beep();
        ctx().platform.chores.beep();
        c("Label5")->show();
        // A keystroke, so it arrives after this change has been handled, as typed keys do.
        QCoreApplication::postEvent(m_count, new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
    }
}

void DrawLauncher::keepOnScreen() { keepInsideScreen(); }

void DrawLauncher::showExitConfirmation() {
    // The confirmation lives in the count panel; a launcher loaded afresh shows the menu.
    c("Frame3")->hide();
    setHeightTwips(c("Frame1"), countPanelHeight);
    setHeight(countBoxHeight);
    show();
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    for (const char* name : {"Label7", "Command8", "Command9"})
        c(name)->show();
    for (const char* name : {"Command5", "Text2", "Frame4"})
        c(name)->hide();
}

void DrawLauncher::hideExitConfirmation() {
    for (const char* name : {"Label7", "Command8", "Command9"})
        c(name)->hide();
}

void DrawLauncher::endOrderDraw() {
    AppContext& ctx = this->ctx();
    hideExitConfirmation();
    Form* main = mainWindow();
    main->timer(QStringLiteral("Timer2"))->setEnabled(true);
    ctx.yield(1);
    ctx.forms.unload(Id);
    if (Form* draw = ctx.forms.loaded(FormId::Form7)) {
        draw->timer(QStringLiteral("Timer1"))->setEnabled(false);
        ctx.forms.unload(FormId::Form7);
    }
    main->show();
}

void DrawLauncher::continueOrderDraw() {
    hideExitConfirmation();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    Form* draw = ctx().forms.loaded(FormId::Form7);
    if (!draw) {
        // Nothing to go back to; the user gets the main window rather than nothing.
        returnToMainWindow();
        return;
    }
    draw->show();
}

} // namespace draws
