#pragma once

#include "core/Form.h"

#include <memory>

class CountdownEngine;
class TimerAlerts;

namespace platform {
class SoundPlayer;
}

// Form1, the control panel: countdown inputs, presets and buttons, the large remaining
// time, the alert labels and the way into the other parts of the program. Its start-up,
// poll, draw and exit handlers are attached by their own subsystems.
class MainWindow : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form1;
    explicit MainWindow(AppContext& ctx);
    ~MainWindow() override;

    CountdownEngine& engine() { return *m_engine; }
    TimerAlerts& alerts() { return *m_alerts; }
    // MMControl1, the timer's sound player.
    platform::SoundPlayer& sound() { return *m_sound; }

    // Height from the layout mode: 2850 for "S", 3465 for "H".
    void applyLayoutHeight();
    // Double-click on the digits: the enlarged window takes the main window's place.
    void openEnlargedView();

private:
    void wirePointer();

    std::unique_ptr<platform::SoundPlayer> m_sound;
    TimerAlerts* m_alerts;
    CountdownEngine* m_engine;
};
