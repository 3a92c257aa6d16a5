#pragma once

#include <QObject>
#include <cstdint>

class MainWindow;

// The alert sequences of the countdown: the reminder, the time-up banner and the pause
// blink, each on its own timer of the main window. This holds their state and the
// hand-overs the countdown makes to them.
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
