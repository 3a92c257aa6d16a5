#include "QtMessageBoxes.h"

#include "X11Display.h"
#include "X11StackQueries.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTimer>

Q_LOGGING_CATEGORY(lcMessages, "vexlo.messages")

namespace platform {

namespace {

// How often a waiting box makes sure it is on top.
constexpr int keepUpMs = 200;

// The texts carry carriage returns as line breaks; show them as such.
QString displayText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Tells the debug log where each button of a box stands on the screen, in the X server's
// pixels, whenever the box is shown or moved (the desktop tests click them as a person would).
class ButtonReport : public QObject {
public:
    explicit ButtonReport(QMessageBox& box) : m_box(box) { box.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_box && (event->type() == QEvent::Show || event->type() == QEvent::Move ||
                                  event->type() == QEvent::Resize) && lcMessages().isDebugEnabled()) {
            for (QAbstractButton* button : m_box.buttons()) {
                const QPoint centre = button->mapToGlobal(button->rect().center()) * button->devicePixelRatioF();
                qCDebug(lcMessages).noquote() << "box" << m_box.windowTitle() << "button" << roleName(button)
                                              << "at" << centre.x() << centre.y();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString roleName(QAbstractButton* button) const {
        switch (m_box.standardButton(button)) {
        case QMessageBox::Yes:
            return QStringLiteral("Yes");
        case QMessageBox::No:
            return QStringLiteral("No");
        default:
            return QStringLiteral("Ok");
        }
    }

    QMessageBox& m_box;
};

// The window the user was working in: the active one, else the one under the pointer (a
// click on a window out of the window manager's hands has not made it active yet).
QWidget* raisingWindow() {
    QWidget* w = QApplication::activeWindow();
    if (!w || !w->isVisible()) {
        QWidget* under = QApplication::widgetAt(QCursor::pos());
        w = under ? under->window() : nullptr;
    }
    return w && w->isVisible() ? w : nullptr;
}

int runBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    // A box of the window that raised it (the active one): managers stack such a box above
    // its window; a box of nobody may open behind an always-on-top window, unseen yet modal.
    QWidget* raiser = raisingWindow();
    QMessageBox box(QMessageBox::NoIcon, title, displayText(text), buttons, raiser);
    box.setDefaultButton(defaultButton);
    // First: setting a message box's modality resets its window flags.
    box.setWindowModality(Qt::ApplicationModal);
    // System-modal: above every window, the program's own always-on-top ones included.
    // A box of nobody is made a window of its own: managers stack a dialog that belongs to
    // no window with the program's (empty) group and drop its always-on-top state.
    if (!raiser)
        box.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    qCDebug(lcMessages).noquote() << "box" << title << "of" << (raiser ? raiser->objectName() : QStringLiteral("nobody"));
    // Once it is mapped: on top, and with the keyboard, since it waits for an answer.
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    ButtonReport report(box);
    // System-modal: another program's always-on-top window (another instance of ours
    // re-asserting its place) must not stay over it either.
    QTimer keepUp;
    keepUp.setInterval(keepUpMs);
    QObject::connect(&keepUp, &QTimer::timeout, &box, [&box] {
        if (!box.isVisible())
            return;
        _XDisplay* d = x11::display();
        if (!d) {
            box.raise();
            return;
        }
        // Asked of the manager as a pager would: it may ignore a program raising itself.
        const auto order = x11::stackingOrder(d);
        const auto id = static_cast<unsigned long>(box.winId());
        if (!order.empty() && order.back() != id)
            x11::requestRaise(d, id);
    });
    keepUp.start();
    return box.exec();
}

} // namespace

void QtMessageBoxes::information(const QString& title, const QString& text) {
    runBox(title, text, QMessageBox::Ok, QMessageBox::Ok);
}

MessageBoxes::Answer QtMessageBoxes::askYesNo(const QString& title, const QString& text) {
    const int r = runBox(title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace platform
