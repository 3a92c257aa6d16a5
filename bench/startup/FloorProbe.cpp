// The floor for start-up time: a minimal Qt Widgets program that shows one window and
// ends once it has been shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(380, 190);
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return app.exec();
}
