#include "DetachedCommandStarter.h"
#include "Finisher.h"
#include "FinisherWindow.h"
#include "LocalFileSystem.h"
#include "SingleInstanceLock.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[]) {
    // Decided before any window exists: a second finisher ends silently.
    SingleInstanceLock lock(SingleInstanceLock::defaultPath());
    if (lock.acquire() == SingleInstanceLock::Result::HeldElsewhere) return 0;

    QApplication app(argc, argv);

    FinisherSettings settings;
    if (qEnvironmentVariableIsSet("windir")) settings.windir = qEnvironmentVariable("windir");
    settings.sourceDirectory = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());

    LocalFileSystem fileSystem;
    DetachedCommandStarter starter;
    FinisherWindow window(fileSystem, starter, settings);
    QObject::connect(&window, &FinisherWindow::finished, &app, &QCoreApplication::quit);
    window.show();
    // Run the load sequence inside the event loop, so a close during its yields ends the loop.
    QTimer::singleShot(0, &window, &FinisherWindow::load);
    return app.exec();
}
