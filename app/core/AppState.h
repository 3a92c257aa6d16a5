#pragma once

#include <QString>
#include <cstdint>

// Process-wide values shared by the windows. Owned by the application, handed to every
// window through the AppContext; there are no globals. Field names keep the design's
// spelling so a reader can follow the windows' handlers against it.
struct AppState {
    enum CountdownState : int16_t { Idle = 0, Running = 1, Paused = -1 };

    int16_t countdownState = Idle;
    int16_t publishedSetMinutes = 0;
    int16_t publishedSetSeconds = 0;

    // 88 time-up, 99 enlarged window closed by the user, anything else none.
    int enlargedViewSignal = 11;

    int16_t dockedTop = 0;
    int16_t dockedLeft = 0;
    int16_t dockedRight = 0;

    QString layoutMode = QStringLiteral("S");
    QString topmostRequest = QStringLiteral("N");
    // Ticks since the last topmost re-assertion. Wide so that a window hidden for
    // weeks never overflows it; anything above 30 only means "due".
    int64_t topmostTicks = 0;

    bool slideShowSeen = false;
    bool presentationSeen = false;

    float drawTotal = 0.0f;
    QString pptFileName = QStringLiteral("MYPPT.PPT");
    QString playerCloseMode = QStringLiteral("N");
    QString launcherBlocked = QStringLiteral("N");

    // Values every run starts from.
    void resetToStartup() { *this = AppState{}; }
};

// Main-window height for the layout mode: "H" leaves room for the hint strip.
inline int heightForLayoutMode(const QString& layoutMode) {
    return layoutMode == QLatin1String("H") ? 3465 : 2850;
}
