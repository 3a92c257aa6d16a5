#pragma once

#include <QObject>

class MainWindow;

// The main window's process-level buttons: Exit with its confirmation, Help, and the
// logo that opens the product home page.
class ExitControl : public QObject {
    Q_OBJECT
public:
    static void attach(MainWindow& window);

    void exit();
    void help();
    void homePage();

private:
    explicit ExitControl(MainWindow& window);
    MainWindow& m_window;
};

// The command line that opens the help file in the first viewer found on the command
// search path; empty when there is none.
QString helpCommandLine(const QString& helpFilePath);
