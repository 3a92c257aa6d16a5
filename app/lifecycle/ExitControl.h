#pragma once

#include <QObject>
#include <QString>

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
    QString m_homePage;
};

class AppContext;

// The end after a confirmed Exit: an instruction presentation the player shows is closed,
// then every window is unloaded and the process ends. Once only.
void closePlayerAndEnd(AppContext& ctx);
// The end the desktop asks for (logout, shutdown, a termination signal): the panel and
// the input are given back, then as above.
void endForDesktop(AppContext& ctx);

// The command line that opens the help file in the first viewer found on the command
// search path; empty when there is none.
QString helpCommandLine(const QString& helpFilePath);
