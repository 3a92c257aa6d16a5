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

std::vector<QRect> QtScreen::monitors() const {
    std::vector<QRect> out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        out.push_back(primary->geometry());
    for (const QScreen* s : QGuiApplication::screens()) {
        if (s != primary)
            out.push_back(s->geometry());
    }
    if (out.empty())
        out.push_back(QRect(0, 0, 1024, 768));
    return out;
}

QRect QtScreen::available(const QRect& monitor) const {
    for (const QScreen* s : QGuiApplication::screens())
        if (s->geometry() == monitor)
            return s->availableGeometry();
    return monitor;
}

} // namespace platform
