#include "lifecycle/Application.h"
#include "lifecycle/EndSignals.h"
#include "lifecycle/ExitControl.h"
#include "office/libreoffice/LibreOfficeSuite.h"
#include "platform/x11/QtTranslations.h"
#include "platform/x11/RealPlatform.h"
#include "platform/x11/SessionPlatform.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    platform::preferX11Platform();
    QApplication app(argc, argv);
    // Early, so a logout during start-up waits for the program instead of cutting it off.
    EndSignals endSignals;
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    platform::installChineseQtTranslations(app);
    platform::RealPlatform desktop;
    vexlo::office::LibreOfficeSuite office;
    // Installed copies run from the user's data folder, which the launcher names.
    const QString appDir = qEnvironmentVariable("VEXLO_APP_DIR", QCoreApplication::applicationDirPath());
    Application program(desktop.get(), appDir);
    program.ctx().office = &office;
    program.ctx().forms.setEndProcess([] { QCoreApplication::exit(0); });
    endSignals.setHandler([&program](int) { endForDesktop(program.ctx()); });
    if (!program.start())
        return 0;
    return app.exec();
}
