#include "EnlargedWindow.h"

#include "EnlargedWindowTexts.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"

#include <QFontMetricsF>
#include <QLabel>

namespace {
// Room left around the digits so that anti-aliased edges are not clipped.
constexpr double fillRatio = 0.96;
} // namespace

EnlargedWindow::EnlargedWindow(AppContext& ctx)
    : Form(ctx, Id, QStringLiteral(":/forms/Form6.json")), m_digits(control<QLabel>(QStringLiteral("Label1"))),
      m_setTime(control<QLabel>(QStringLiteral("Label3"))), m_status(control<QLabel>(QStringLiteral("Label2"))) {
    // Shown over a running slide show, which keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont font = m_digits->font();
    font.setPixelSize(digitsPixelSize(*m_digits));
    m_digits->setFont(font);

    timer(QStringLiteral("Timer1"))->setHandler([this] { refresh(); });
    auto close = [this] {
        this->ctx().state.enlargedViewSignal = 99;
        this->ctx().forms.unload(Id);
    };
    onDoubleClick(QStringLiteral("Label1"), close);
    setCloseAction(close);
    enableDragging({QStringLiteral("Frame2"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                    QStringLiteral("Label3"), QStringLiteral("Label4")});
}

int EnlargedWindow::digitsPixelSize(const QLabel& label) {
    const QSizeF room(label.width() * fillRatio, label.height() * fillRatio);
    QFont font = label.font();
    int lo = 1, hi = 2000;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        font.setPixelSize(mid);
        const QFontMetricsF fm(font);
        if (fm.horizontalAdvance(enlargedTexts::digitsSample) <= room.width() && fm.height() <= room.height())
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void EnlargedWindow::onLoad() {
    AppContext& c = ctx();
    c.state.topmostRequest = QStringLiteral("Y");
    setLeft(centredLeft());
    if (Form* main = c.forms.ref(FormId::Form1))
        setTop(main->Top() + main->Height() + 600);
    makeTopmost();
}

void EnlargedWindow::onUnload() {
    AppContext& c = ctx();
    c.state.enlargedViewSignal = 99;
    if (Form* main = c.forms.loaded(FormId::Form1))
        main->show();
}

void EnlargedWindow::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // Opening shows the current time at once rather than the last one until the next tick.
    mirrorDigits();
    mirrorStatus();
}

void EnlargedWindow::refresh() {
    AppContext& c = ctx();
    mirrorDigits();
    if (c.state.enlargedViewSignal == 88) {
        // Time is up: the main window's banner takes over; this window stays loaded.
        c.state.enlargedViewSignal = 0;
        hide();
        if (Form* main = c.forms.loaded(FormId::Form1))
            main->show();
    }
    mirrorStatus();
}

void EnlargedWindow::mirrorDigits() {
    Form* main = ctx().forms.loaded(FormId::Form1);
    if (!main)
        return;
    if (auto* display = main->control<QLabel>(QStringLiteral("Label3"))) {
        const QString t = display->text();
        m_digits->setText(t.mid(0, 2) + QStringLiteral(" : ") + t.mid(5, 2));
    }
}

void EnlargedWindow::mirrorStatus() {
    const AppState& s = ctx().state;
    switch (s.countdownState) {
    case AppState::Idle:
        m_status->setText(enlargedTexts::statusIdle);
        break;
    case AppState::Running:
        m_status->setText(enlargedTexts::statusRunning);
        m_setTime->setText(enlargedTexts::setTime(s.publishedSetMinutes, s.publishedSetSeconds));
        break;
    case AppState::Paused:
        m_status->setText(enlargedTexts::statusPaused);
        break;
    default:
        break;
    }
}
