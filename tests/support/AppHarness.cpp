#include "AppHarness.h"

#include "core/Form.h"
#include "core/FormTimer.h"
#include "timer/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>

namespace {
// A folder that exists before the application object reads its path.
QString makeFolder(QTemporaryDir& dir, const QStringList& files) {
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
    }
    return dir.path();
}
} // namespace

AppHarness::AppHarness(const QStringList& dataFiles, platform::DesktopWindows* desktopWindows)
    : m_previousDir(QDir::currentPath()),
      m_platform{fake.messages, fake.screen,   fake.placement, fake.instance,  fake.sounds,
                 fake.keys,     fake.windows,  fake.taskbar,   fake.input,     fake.processes,
                 fake.chores,   desktopWindows ? *desktopWindows : fake.desktopWindows},
      app(m_platform, makeFolder(m_dir, dataFiles)) {
    QDir::setCurrent(m_dir.path());
    app.ctx().office = &office;
}

AppHarness::~AppHarness() { QDir::setCurrent(m_previousDir); }

QStringList AppHarness::defaultDataFiles() {
    return {QStringLiteral("name.xls"), QStringLiteral("name1.xls"), QStringLiteral("MYPPT.ppt"),
            QStringLiteral("Note1.PPT"), QStringLiteral("Note2.PPT")};
}

MainWindow& AppHarness::main() { return ctx().forms.ref<MainWindow>(); }

void AppHarness::tick(Form& form, const QString& timerName, int times) {
    for (int i = 0; i < times; ++i)
        form.timer(timerName)->tick();
}

namespace pointer {

namespace {
void send(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
} // namespace

void moveOver(QWidget* widget) {
    send(widget, QEvent::MouseMove, {2, 2}, Qt::NoButton, Qt::NoButton);
}

void press(QWidget* widget, QPoint local) {
    send(widget, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
}

void dragTo(QWidget* widget, QPoint local) {
    send(widget, QEvent::MouseMove, local, Qt::NoButton, Qt::LeftButton);
}

void release(QWidget* widget, QPoint local) {
    send(widget, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(QWidget* widget) {
    press(widget);
    release(widget);
    send(widget, QEvent::MouseButtonDblClick, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    release(widget);
}

} // namespace pointer
