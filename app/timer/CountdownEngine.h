#pragma once

#include "CountdownModel.h"

#include <QObject>
#include <QString>
#include <array>

class MainWindow;
class TimerAlerts;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The handlers behind the timer controls of the main window: Start, the one-second
// tick, Pause/Continue, Stop, the presets and the field checks.
class CountdownEngine : public QObject {
    Q_OBJECT
public:
    struct TimerPreset {
        QString minutes, seconds, reminderMinutes, reminderSeconds;
    };

    CountdownEngine(MainWindow& window, TimerAlerts& alerts);

    void start();
    void tick();
    void pauseOrContinue();
    void stop();
    void choosePreset(int n);
    // Back to the idle layout, as after Stop or at the end of the time-up sequence.
    void returnToIdle();

    const CountdownModel& model() const { return m_model; }
    const TimerPreset& preset(int n) const { return m_presets.at(n - 1); }

private:
    CountdownModel::Times readFields() const;
    void fieldEdited(QLineEdit* field);
    bool checkSeconds(QLineEdit* field);
    int selectedPreset() const;
    void setIdleFieldsVisible(bool visible);
    void setPresetsEnabled(bool enabled);

    MainWindow& m_window;
    TimerAlerts& m_alerts;
    CountdownModel m_model;
    std::array<TimerPreset, 3> m_presets;
    QLineEdit *m_text1, *m_text2, *m_text4, *m_text5;
    std::array<QRadioButton*, 3> m_options;
    QLabel *m_label3, *m_label7, *m_label8, *m_label18, *m_label31;
    QPushButton *m_command1, *m_command2, *m_command3, *m_command4, *m_command5;
};
