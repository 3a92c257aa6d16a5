#include "lifecycle/Application.h"
#include "office/libreoffice/LibreOfficeSuite.h"
#include "platform/x11/RealPlatform.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    platform::RealPlatform desktop;
    vexlo::office::LibreOfficeSuite office;
    Application program(desktop.get(), QCoreApplication::applicationDirPath());
    program.ctx().office = &office;
    program.ctx().forms.setEndProcess([] { QCoreApplication::exit(0); });
    if (!program.start())
        return 0;
    return app.exec();
}
