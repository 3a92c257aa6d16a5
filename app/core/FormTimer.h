#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// A window's timer control: Enabled and Interval as designed, ticks delivered as ordinary
// events on the UI thread. In manual mode (tests) enabling never arms the real timer,
// so nothing fires behind a test's back even when a handler yields; tests call tick().
class FormTimer : public QObject {
    Q_OBJECT
public:
    FormTimer(const QString& name, int intervalMs, bool enabled, QObject* parent);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    int interval() const { return m_interval; }
    void setInterval(int ms);

    // Runs the tick handler once, as a real tick would.
    void tick();
    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

    static void setManualMode(bool manual) { s_manual = manual; }
    static bool manualMode() { return s_manual; }

private:
    void arm();

    QTimer m_timer;
    std::function<void()> m_handler;
    int m_interval;
    bool m_enabled = false;
    static inline bool s_manual = false;
};
