#pragma once

#include <QObject>

class MainWindow;

// The main window's load handler and its one-shot completion 100 ms later.
class Startup : public QObject {
    Q_OBJECT
public:
    static void attach(MainWindow& window);

    void run();
    void completion();

private:
    explicit Startup(MainWindow& window);
    // A refused start shows nothing of its own but the message.
    void refuse();
    MainWindow& m_window;
};
