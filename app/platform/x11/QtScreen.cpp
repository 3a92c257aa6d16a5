#include "QtScreen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace platform {

QSize QtScreen::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QPoint QtScreen::pointer() const { return QCursor::pos(); }

} // namespace platform
