#include "TimerAlerts.h"

#include "CountdownEngine.h"
#include "MainWindow.h"
#include "MainWindowTexts.h"

#include "core/AppContext.h"
#include "core/FormLayout.h"
#include "core/FormTimer.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QPushButton>

namespace {
// The banner bounces between this margin and the same one at the right.
constexpr int bounceMargin = 135;
// The controls that the reminder text and the time-up banner cover.
const QStringList coveredByAlerts = {QStringLiteral("Label1"), QStringLiteral("Label2"), QStringLiteral("Label3"),
                                     QStringLiteral("Text1"), QStringLiteral("Text2")};
} // namespace

TimerAlerts::TimerAlerts(MainWindow& window) : QObject(&window), m_window(window) {
    window.timer(QStringLiteral("Timer4"))->setHandler([this] { reminderTick(); });
    window.timer(QStringLiteral("Timer3"))->setHandler([this] { timeUpTick(); });
    window.timer(QStringLiteral("Timer5"))->setHandler([this] { pauseBlinkTick(); });
    // A reminder still running at time-up keeps showing its text beneath the banner; the
    // banner is opaque and on top, so that only " 时间到！" can be read.
    QWidget* banner = window.controlWidget(QStringLiteral("Label5"));
    banner->setAutoFillBackground(true);
    banner->raise();
}

void TimerAlerts::reminderHandOver() {
    AppState& s = m_window.ctx().state;
    if (s.dockedRight || s.dockedLeft || s.dockedTop) {
        // A tucked window comes back to where it was once the reminder is over.
        reminderPlacement = {m_window.Left(), m_window.Top(), s.dockedTop, s.dockedLeft, s.dockedRight, true};
    }
    m_window.centreHorizontally();
    s.dockedTop = s.dockedLeft = s.dockedRight = 0;
    m_window.timer(QStringLiteral("Timer4"))->setEnabled(true);
    m_window.control<QPushButton>(QStringLiteral("Command4"))->setEnabled(false);
}

void TimerAlerts::timeUpHandOver() {
    AppState& s = m_window.ctx().state;
    const int screenLeft = m_window.screenLeft(), screenTop = m_window.screenTop();
    m_window.setTop(screenTop + 2000);
    m_window.setLeft(screenLeft + bounceMargin);
    s.dockedTop = s.dockedRight = s.dockedLeft = 0;
    s.enlargedViewSignal = 88;
    m_window.timer(QStringLiteral("Timer3"))->setEnabled(true);
    m_window.control<QPushButton>(QStringLiteral("Command4"))->setEnabled(false);
}

void TimerAlerts::reminderTick() {
    AppContext& ctx = m_window.ctx();
    AppState& s = ctx.state;
    reminderTicks += 1;

    // Referring to the toolbar loads it (hidden), as any reference to a window does.
    Form* toolbar = ctx.forms.ref(FormId::Form3);
    if (toolbar) {
        if (toolbar->isVisible())
            toolbarWasVisible = true;
        toolbar->hide();
    }
    if (reminderTicks == 1)
        mainWasVisible = m_window.isVisible();

    // The enlarged window waits below the main window, where it opens next.
    if (Form* enlarged = ctx.forms.ref(FormId::Form6)) {
        enlarged->setLeft(enlarged->centredLeft());
        enlarged->setTop(m_window.Top() + m_window.Height() + 600);
    }
    m_window.control<QPushButton>(QStringLiteral("Command3"))->setEnabled(false);
    if (reminderTicks == 1)
        platform::playSound(m_window.sound(), mainTexts::middleSound);

    auto* label6 = m_window.control<QLabel>(QStringLiteral("Label6"));
    label6->show();
    for (const QString& name : coveredByAlerts)
        m_window.controlWidget(name)->hide();
    const CountdownModel& model = m_window.engine().model();
    label6->setText(mainTexts::timeLeft(model.reminderMinutes, model.reminderSeconds));

    if (reminderTicks >= 1 && reminderTicks <= 5) {
        m_window.setVisible(!m_window.isVisible());
    } else {
        m_window.show();
        ctx.forms.unload(FormId::Form2);
    }

    if (reminderTicks > 12) {
        m_window.setVisible(mainWasVisible);
        if (toolbar) {
            toolbar->setVisible(toolbarWasVisible);
            if (toolbar->isVisible())
                toolbar->timer(QStringLiteral("Timer1"))->setEnabled(true);
        }
        toolbarWasVisible = false;
        mainWasVisible = false;
        m_window.control<QPushButton>(QStringLiteral("Command3"))->setEnabled(true);
        m_window.control<QPushButton>(QStringLiteral("Command4"))->setEnabled(true);
        if (s.enlargedViewSignal == 99) {
            // The user closed the enlarged window, so nothing else shows the time.
            m_window.show();
            s.enlargedViewSignal = 0;
        }
        reminderTicks = 0;
        label6->hide();
        m_window.controlWidget(QStringLiteral("Label3"))->show();
        if (reminderPlacement.saved) {
            m_window.show();
            m_window.setLeft(reminderPlacement.left);
            m_window.setTop(reminderPlacement.top);
            s.dockedTop = reminderPlacement.dockedTop;
            s.dockedLeft = reminderPlacement.dockedLeft;
            s.dockedRight = reminderPlacement.dockedRight;
            reminderPlacement.saved = false;
        }
        m_window.timer(QStringLiteral("Timer4"))->setEnabled(false);
    }
}

void TimerAlerts::timeUpTick() {
    AppContext& ctx = m_window.ctx();
    // Showing a shown window and hiding hidden controls are no-ops, so repeating this
    // every 5 ms costs nothing and keeps the banner on top of whatever the reminder does.
    m_window.show();
    if (Form* toolbar = ctx.forms.ref(FormId::Form3))
        toolbar->hide();
    ctx.forms.unload(FormId::Form2);

    m_window.controlWidget(QStringLiteral("Label5"))->show();
    for (const QString& name : coveredByAlerts)
        m_window.controlWidget(name)->hide();

    const int leftLimit = m_window.screenLeft() + bounceMargin;
    const int rightLimit = m_window.screenLeft() + m_window.screenWidth() - m_window.Width() - bounceMargin;
    if (timeUpTicks > 320) {
        m_window.centreHorizontally();
    } else if (bounceDirection == -1) {
        if (m_window.Left() <= rightLimit)
            m_window.setLeft(m_window.Left() + 100);
    } else {
        if (m_window.Left() >= leftLimit)
            m_window.setLeft(m_window.Left() - 100);
    }
    if (m_window.Left() > rightLimit || m_window.Left() <= leftLimit)
        bounceDirection = static_cast<int16_t>(-bounceDirection);

    timeUpTicks += 1;
    if (timeUpTicks == 1)
        platform::playSound(m_window.sound(), mainTexts::endSound);

    if (timeUpTicks >= 800) {
        timeUpTicks = 0;
        bounceDirection = -1;
        m_window.controlWidget(QStringLiteral("Label5"))->hide();
        m_window.engine().returnToIdle();
        m_window.timer(QStringLiteral("Timer3"))->setEnabled(false);
        m_window.centreHorizontally();
    }
    ctx.state.countdownState = AppState::Idle;
}

void TimerAlerts::endSequences() {
    AppContext& ctx = m_window.ctx();
    FormTimer* reminder = m_window.timer(QStringLiteral("Timer4"));
    if (reminder->enabled() || reminderTicks != 0) {
        reminder->setEnabled(false);
        if (Form* toolbar = ctx.forms.loaded(FormId::Form3); toolbar && toolbarWasVisible) {
            toolbar->show();
            toolbar->timer(QStringLiteral("Timer1"))->setEnabled(true);
        }
        if (ctx.state.enlargedViewSignal == 99)
            ctx.state.enlargedViewSignal = 0;
        // Stop has centred the window; a tucked place from before the reminder is gone.
        reminderPlacement.saved = false;
        reminderTicks = 0;
        toolbarWasVisible = mainWasVisible = false;
        m_window.control<QPushButton>(QStringLiteral("Command4"))->setEnabled(true);
    }
    FormTimer* timeUp = m_window.timer(QStringLiteral("Timer3"));
    // The banner moved the window since Stop centred it; it rests centred, as at its end.
    if (timeUp->enabled())
        m_window.centreHorizontally();
    timeUp->setEnabled(false);
    timeUpTicks = 0;
    bounceDirection = -1;
    m_window.controlWidget(QStringLiteral("Label6"))->hide();
    m_window.controlWidget(QStringLiteral("Label5"))->hide();
    // The question was answered on this window, which the blink may have left hidden.
    m_window.show();
}

void TimerAlerts::pauseBlinkTick() {
    pauseBlinkPhase = static_cast<int16_t>(-pauseBlinkPhase);
    auto* label18 = m_window.controlWidget(QStringLiteral("Label18"));
    if (pauseBlinkPhase == 1)
        setTextColor(label18, 255, 0, 0);
    else
        setTextColor(label18, 0, 0, 255);
}
