#pragma once

#include "QtPrinters.h"
#include "lifecycle/Application.h"
#include "office/fake/FakeOfficeSuite.h"
#include "platform/fake/FakePlatform.h"

#include <QStringList>
#include <QTemporaryDir>

class MainWindow;
class QWidget;

// A whole program on the fake desktop, started in a fresh folder that holds the data
// files (which the program looks up in its current directory).
class AppHarness {
public:
    // desktopWindows: the real desktop's other windows instead of scripted ones.
    explicit AppHarness(const QStringList& dataFiles = defaultDataFiles(),
                        platform::DesktopWindows* desktopWindows = nullptr);
    ~AppHarness();

    static QStringList defaultDataFiles();

    bool start() { return app.start(); }
    AppContext& ctx() { return app.ctx(); }
    MainWindow& main();
    QString folder() const { return m_dir.path(); }

    // Fires a window's timer once.
    void tick(Form& form, const QString& timerName, int times = 1);

    platform::FakePlatform fake;
    // The in-memory office the draws drive; its world holds the workbooks and presentations.
    vexlo::office::FakeOfficeSuite office;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    platform::Platform m_platform;

public:
    Application app;
};

// Pointer input as the desktop would deliver it.
namespace pointer {
void moveOver(QWidget* widget);
void press(QWidget* widget, QPoint local = {2, 2});
void dragTo(QWidget* widget, QPoint local);
void release(QWidget* widget, QPoint local = {2, 2});
void doubleClick(QWidget* widget);
} // namespace pointer
