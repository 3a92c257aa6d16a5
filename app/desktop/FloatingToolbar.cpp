#include "FloatingToolbar.h"

#include "FloatingToolbarTexts.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

FloatingToolbar::FloatingToolbar(AppContext& ctx)
    : Form(ctx, Id, QStringLiteral(":/forms/Form3.json")), m_text(control<QLabel>(QStringLiteral("Label1"))),
      m_hintPanel(controlWidget(QStringLiteral("Frame1"))),
      m_confirm(control<QPushButton>(QStringLiteral("Command1"))) {
    // Shown over a running slide show, which keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    timer(QStringLiteral("Timer1"))->setHandler([this] { refresh(); });
    timer(QStringLiteral("Timer2"))->setHandler([this] { keepOnScreen(); });
    onClick(QStringLiteral("Image1"), [this] { showMainWindow(); });
    onClick(QStringLiteral("Image2"), [this] { closeToolbar(); });
    connect(m_confirm, &QPushButton::clicked, this, &FloatingToolbar::confirm);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, &FloatingToolbar::back);
    // The hint panel's "返回", else the strip's way back to the main window.
    setCloseAction([this] { hintPanelShown() ? back() : showMainWindow(); });
    enableDragging({QStringLiteral("Frame1"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                    QStringLiteral("Label3"), QStringLiteral("Label4"), QStringLiteral("Image1"),
                    QStringLiteral("Image2")});
    focusOnHover({QStringLiteral("Command1"), QStringLiteral("Command2")});
}

void FloatingToolbar::onLoad() {
    AppContext& c = ctx();
    m_ticks = 0;
    if (Form* main = c.forms.ref(FormId::Form1)) {
        setLeft(main->Left() + (main->Width() - Width()) / 2);
        setTop(main->Top());
    }
    makeTopmost();
    // Qt's window opacity is the desktop's constant-alpha property: a compositor shows it.
    setWindowOpacity(stripOpacity);
    c.state.topmostRequest = QStringLiteral("Y");
}

void FloatingToolbar::showInPlaceOf(const Form& main) {
    setLeft(main.Left() + (main.Width() - Width()) / 2);
    setTop(main.Top());
    setHeight(stripHeight);
    show();
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    timer(QStringLiteral("Timer2"))->setEnabled(true);
}

bool FloatingToolbar::hintPanelShown() const { return m_hintPanel->isVisibleTo(this); }

void FloatingToolbar::refresh() {
    if (hintPanelShown())
        return;
    const AppState& s = ctx().state;
    switch (s.countdownState) {
    case AppState::Idle:
        m_text->setText(toolbarTexts::idle);
        break;
    case AppState::Running: {
        QString display;
        if (Form* main = ctx().forms.loaded(FormId::Form1))
            if (auto* label3 = main->control<QLabel>(QStringLiteral("Label3")))
                display = label3->text();
        m_text->setText(toolbarTexts::running(s.publishedSetMinutes, s.publishedSetSeconds, display));
        break;
    }
    case AppState::Paused:
        m_text->setText(toolbarTexts::paused);
        break;
    default:
        break;
    }
}

void FloatingToolbar::keepOnScreen() {
    keepInsideScreen(450);
    m_ticks += 1;
    if (m_ticks > 30) {
        if (isVisible())
            makeTopmost();
        m_ticks = 0;
    }
}

void FloatingToolbar::showMainWindow() {
    AppContext& c = ctx();
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    timer(QStringLiteral("Timer2"))->setEnabled(false);
    if (Form* main = c.forms.ref(FormId::Form1)) {
        main->setLeft(Left() - (main->Width() - Width()) / 2);
        main->setTop(Top());
        main->show();
    }
    c.state.dockedTop = c.state.dockedLeft = c.state.dockedRight = 0;
}

void FloatingToolbar::closeToolbar() {
    AppContext& c = ctx();
    const AppState& s = c.state;
    const bool unattended = s.countdownState == AppState::Idle || s.countdownState == AppState::Paused;
    const bool presentationNotShown = s.presentationSeen && !s.slideShowSeen;
    if (unattended || presentationNotShown) {
        setTop(screenTop() + 2000);
        setLeft(centredLeft());
        c.platform.messages.information(toolbarTexts::hintTitle, toolbarTexts::cannotHide);
        return;
    }
    setHeight(hintHeight);
    setWindowTitle(toolbarTexts::hintPanelCaption);
    m_text->hide();
    m_hintPanel->show();
    setWindowOpacity(1.0);
    activateWindow();
    requestFocus(m_confirm);
}

void FloatingToolbar::toStripView() {
    setWindowOpacity(stripOpacity);
    m_hintPanel->hide();
    m_text->show();
    setWindowTitle(QString());
    setHeight(stripHeight);
}

void FloatingToolbar::confirm() {
    toStripView();
    // Everything is hidden now; only the function key brings the windows back.
    hide();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    timer(QStringLiteral("Timer2"))->setEnabled(false);
}

void FloatingToolbar::back() { toStripView(); }

void FloatingToolbar::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // However it was left (the function key folds the hint panel away without touching the
    // alpha), the strip view comes back translucent.
    if (!hintPanelShown())
        setWindowOpacity(stripOpacity);
}

void FloatingToolbar::paintEvent(QPaintEvent* event) {
    Form::paintEvent(event);
    // A borderless strip needs an edge of its own to read as a toolbar on any background.
    QPainter p(this);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
