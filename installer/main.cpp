#include "DetachedCommandStarter.h"
#include "Finisher.h"
#include "FinisherWindow.h"
#include "LinuxComponents.h"
#include "LocalFileSystem.h"
#include "SingleInstanceLock.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSysInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[]) {
    FinisherSettings settings;
    if (qEnvironmentVariableIsSet("windir")) settings.windir = qEnvironmentVariable("windir");
    const bool onWindowsTree = runsTheWindowsSequence(settings);

    // On Linux the finisher writes only into the user's data folder, its lock included.
    const QString dataFolder = userDataFolder();
    if (!onWindowsTree) QDir().mkpath(dataFolder);
    // Decided before any window exists: a second finisher ends silently.
    SingleInstanceLock lock(onWindowsTree ? SingleInstanceLock::defaultPath()
                                          : dataFolder + QStringLiteral("/.finisher.lock"));
    if (lock.acquire() == SingleInstanceLock::Result::HeldElsewhere) return 0;

    QApplication app(argc, argv);
    // Qt's own words in its boxes and buttons, in the language of the rest of the window.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    settings.sourceDirectory = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    settings.sixtyFourBitSystem = isSixtyFourBitArchitecture(QSysInfo::currentCpuArchitecture());

    LocalFileSystem fileSystem;
    DetachedCommandStarter starter;
    ComponentProbes probes;
    if (!onWindowsTree) probes = linuxComponentProbes({QStringLiteral(VEXLO_LO_PROGRAM_DIR), dataFolder});
    FinisherWindow window(fileSystem, starter, settings, probes);
    QObject::connect(&window, &FinisherWindow::finished, &app, &QCoreApplication::quit);
    window.show();
    // Run the load sequence inside the event loop, so a close during its yields ends the loop.
    QTimer::singleShot(0, &window, &FinisherWindow::load);
    return app.exec();
}
