#include "TimerAlerts.h"

#include "MainWindow.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"

#include <QPushButton>

TimerAlerts::TimerAlerts(MainWindow& window) : QObject(&window), m_window(window) {}

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
    m_window.setTop(2000);
    m_window.setLeft(135);
    s.dockedTop = s.dockedRight = s.dockedLeft = 0;
    s.enlargedViewSignal = 88;
    m_window.timer(QStringLiteral("Timer3"))->setEnabled(true);
    m_window.control<QPushButton>(QStringLiteral("Command4"))->setEnabled(false);
}
