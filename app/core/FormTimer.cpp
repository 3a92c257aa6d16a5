#include "FormTimer.h"

FormTimer::FormTimer(const QString& name, int intervalMs, bool enabled, QObject* parent)
    : QObject(parent), m_interval(intervalMs) {
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FormTimer::tick);
    setEnabled(enabled);
}

void FormTimer::setEnabled(bool on) {
    // Enabling a running timer does not restart its period.
    if (on && m_enabled)
        return;
    m_enabled = on;
    arm();
}

void FormTimer::setInterval(int ms) {
    m_interval = ms;
    arm();
}

void FormTimer::arm() {
    if (m_enabled && !s_manual && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

void FormTimer::tick() {
    if (m_handler)
        m_handler();
}
