// The program as it starts for a user, ending as soon as start-up has completed (the
// moment the main window drops its loading title). Timing the whole process gives
// "process start to main window shown and start-up completed".
#include "lifecycle/Application.h"
#include "office/libreoffice/LibreOfficeSuite.h"
#include "platform/x11/RealPlatform.h"
#include "timer/MainWindow.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    platform::RealPlatform desktop;
    vexlo::office::LibreOfficeSuite office;
    Application program(desktop.get(), QCoreApplication::applicationDirPath());
    program.ctx().office = &office;
    program.ctx().forms.setEndProcess([] { QCoreApplication::exit(2); });
    if (!program.start())
        return 2;
    Form* main = program.ctx().forms.loaded(FormId::Form1);
    QObject::connect(main, &QWidget::windowTitleChanged, &app, [] {
        // Let the completed window paint once before leaving.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    });
    return app.exec();
}
