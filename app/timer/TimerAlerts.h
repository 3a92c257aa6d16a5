#pragma once

#include <QObject>
#include <cstdint>

class MainWindow;

// The alert sequences of the countdown: the reminder, the time-up banner and the pause
// blink, each on its own timer of the main window (Timer4, Timer3, Timer5). This holds
// their state, the hand-overs the countdown makes to them and their tick handlers.
class TimerAlerts : public QObject {
    Q_OBJECT
public:
    struct Placement {
        int left = 0;
        int top = 0;
        int16_t dockedTop = 0, dockedLeft = 0, dockedRight = 0;
        bool saved = false;
    };

    explicit TimerAlerts(MainWindow& window);

    // The countdown reached the reminder time.
    void reminderHandOver();
    // The countdown reached zero.
    void timeUpHandOver();

    // Timer4, every 300 ms: one of the reminder's 13 ticks.
    void reminderTick();
    // Timer3, nominally every 5 ms: one of the time-up sequence's 800 ticks.
    void timeUpTick();
    // Stop was confirmed while a reminder or the time-up sequence may have begun under its
    // question: both end here, leaving the main window shown and nothing of them running.
    void endSequences();

    // Timer5, every 800 ms while paused.
    void pauseBlinkTick();

    int16_t timeUpTicks = 0;
    int16_t bounceDirection = -1;
    int16_t reminderTicks = 0;
    bool toolbarWasVisible = false;
    bool mainWasVisible = false;
    Placement reminderPlacement;
    int16_t pauseBlinkPhase = 1;

private:
    MainWindow& m_window;
};
