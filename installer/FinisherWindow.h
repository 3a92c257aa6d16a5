#pragma once

#include "Finisher.h"
#include "FinisherUi.h"

#include <QWidget>

class CommandStarter;
class FileSystem;
class QLabel;
class QTimer;

// The finisher's only window: a progress note in Label1 and the closing countdown on Timer1.
class FinisherWindow : public QWidget, private FinisherUi {
    Q_OBJECT
public:
    FinisherWindow(FileSystem& fileSystem, CommandStarter& starter, FinisherSettings settings,
                   QWidget* parent = nullptr);

    // The load handler: the whole finishing sequence, then the closing countdown starts.
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

    FileSystem& m_fileSystem;
    CommandStarter& m_starter;
    FinisherSettings m_settings;
    QLabel* m_label1;
    QTimer* m_timer1;
    qint16 m_tickCount = 0;
    bool m_loaded = false;
};
