#include "lifecycle/Application.h"
#include "lifecycle/EndSignals.h"
#include "lifecycle/ExitControl.h"
#include "office/libreoffice/LibreOfficeSuite.h"
#include "platform/x11/QtTranslations.h"
#include "platform/x11/RealPlatform.h"
#include "platform/x11/SessionPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

namespace {

QString shellQuoted(QString text) { return u'\'' + text.replace(u'\'', QStringLiteral("'\\''")) + u'\''; }

// What a desktop shortcut runs to bring the timer up: the installed launcher, or this
// program in its current folder, as it was started.
QString showTimerCommand() {
    const QString launcher =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin/vexlo"));
    if (QFileInfo(launcher).isExecutable())
        return shellQuoted(launcher) + QStringLiteral(" --show-timer");
    const QString script = QStringLiteral("cd %1 && exec %2 --show-timer")
                               .arg(shellQuoted(QDir::currentPath()), shellQuoted(QCoreApplication::applicationFilePath()));
    return QStringLiteral("sh -c ") + shellQuoted(script);
}

} // namespace

int main(int argc, char* argv[]) {
    platform::preferX11Platform();
    QApplication app(argc, argv);
    // Early, so a logout during start-up waits for the program instead of cutting it off.
    EndSignals endSignals;
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    platform::installChineseQtTranslations(app);
    platform::RealPlatform desktop;
    // Run by the desktop's shortcut for F9: the running instance brings its timer up.
    if (QCoreApplication::arguments().contains(QStringLiteral("--show-timer")) &&
        desktop.showTimerInRunningInstance())
        return 0;
    vexlo::office::LibreOfficeOptions officeOptions;
    officeOptions.busy = [](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    };
    vexlo::office::LibreOfficeSuite office(officeOptions);
    // Installed copies run from the user's data folder, which the launcher names.
    const QString appDir = qEnvironmentVariable("VEXLO_APP_DIR", QCoreApplication::applicationDirPath());
    Application program(desktop.get(), appDir);
    program.ctx().office = &office;
    program.ctx().forms.setEndProcess([] { QCoreApplication::exit(0); });
    endSignals.setHandler([&program](int) { endForDesktop(program.ctx()); });
    if (!program.start())
        return 0;
    desktop.offerDesktopShortcut(showTimerCommand());
    return app.exec();
}
