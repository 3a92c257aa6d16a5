#pragma once

#include "ComponentCheck.h"
#include "Finisher.h"
#include "FinisherUi.h"

#include <QWidget>

class CommandStarter;
class FileSystem;
class QLabel;
class QTimer;

// The finisher's only window: a progress note in Label1 and the closing countdown on Timer1.
// With "windir" set it runs the Windows sequence; otherwise it checks this system's runtime
// components (probes) and names the missing ones.
class FinisherWindow : public QWidget, private FinisherUi {
    Q_OBJECT
public:
    FinisherWindow(FileSystem& fileSystem, CommandStarter& starter, FinisherSettings settings,
                   ComponentProbes probes = {}, QWidget* parent = nullptr);

    // The load handler: the whole finishing sequence, then the closing countdown starts. On
    // Linux the countdown starts once the component check has finished.
    void load();
    int tickCount() const { return m_tickCount; }

public slots:
    // Timer1: the window closes on the 13th tick.
    void tick();

signals:
    // The window has closed itself; the process ends.
    void finished();

private:
    void showMessage(const QString& text) override;
    void yieldEvents() override;
    void fitToText();
    void checked(const QList<MissingComponent>& missing);
    void startClosing();

    FileSystem& m_fileSystem;
    CommandStarter& m_starter;
    FinisherSettings m_settings;
    ComponentProbes m_probes;
    QLabel* m_label1;
    QTimer* m_timer1;
    qint16 m_tickCount = 0;
    bool m_loaded = false;
};
