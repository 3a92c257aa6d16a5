#include "X11WindowPlacement.h"

#include "X11Display.h"
#include "X11StackQueries.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

#include <algorithm>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

Q_LOGGING_CATEGORY(lcPlacement, "vexlo.placement")

namespace platform {

namespace {

// Often enough that a show that has just started covers the panel only for a moment.
constexpr int watchMs = 250;

bool bypassing(const QWidget* w) { return w->windowFlags().testFlag(Qt::X11BypassWindowManagerHint); }

unsigned long idOf(const QWidget* w) { return static_cast<unsigned long>(w->winId()); }

// Where the window is, as the X server counts (Qt's logical pixels are scaled).
QRect devicePixels(const QWidget* w) {
    const qreal r = w->devicePixelRatioF();
    const QRect g = w->frameGeometry();
    return QRect(qRound(g.x() * r), qRound(g.y() * r), qRound(g.width() * r), qRound(g.height() * r));
}

} // namespace

X11WindowPlacement::X11WindowPlacement() {
    m_watch.setInterval(watchMs);
    connect(&m_watch, &QTimer::timeout, this, &X11WindowPlacement::watchTick);
}

void X11WindowPlacement::makeTopmost(QWidget* window) {
    if (!window)
        return;
    if (!x11::display()) {
        window->raise();
        return;
    }
    if (!m_kept.contains(window))
        m_kept.append(window);
    if (!m_watch.isActive()) {
        qApp->installEventFilter(this);
        m_watch.start();
    }
    // Not mapped yet: the always-on-top hint every window carries applies when it maps.
    if (window->isVisible())
        keep(window, true);
}

bool X11WindowPlacement::isKept(unsigned long id) const {
    return std::any_of(m_kept.begin(), m_kept.end(), [id](const QPointer<QWidget>& w) {
        return w && w->testAttribute(Qt::WA_WState_Created) && idOf(w) == id;
    });
}

unsigned long X11WindowPlacement::coveringShow(QWidget* window) const {
    Display* d = x11::display();
    const std::vector<unsigned long> order = x11::stackingOrder(d);
    // Out of the manager's hands it is not in its list: then every window counts.
    auto from = std::find(order.begin(), order.end(), idOf(window));
    from = from == order.end() ? order.begin() : from + 1;
    const QRect area = devicePixels(window);
    for (auto it = from; it != order.end(); ++it) {
        if (!isKept(*it) && x11::isFullscreen(d, *it) && x11::rootGeometry(d, *it).intersects(area))
            return *it;
    }
    return 0;
}

void X11WindowPlacement::watchTick() {
    m_kept.removeAll(nullptr);
    if (!x11::display() || m_kept.isEmpty()) {
        m_watch.stop();
        return;
    }
    for (const QPointer<QWidget>& w : std::as_const(m_kept)) {
        if (w && w->isVisible())
            keep(w, false);
    }
}

void X11WindowPlacement::keep(QWidget* window, bool raise) {
    Display* d = x11::display();
    const unsigned long show = coveringShow(window);
    if ((show != 0) != bypassing(window)) {
        setBypass(window, show != 0);
        raise = true;
    }
    const unsigned long id = idOf(window);
    // Never over a message box that waits for an answer.
    QWidget* modal = QApplication::activeModalWidget();
    if (bypassing(window)) {
        // Nobody stacks it but us; restacking a window the manager does not manage moves no
        // focus. Just below a box that waits, else on top.
        XWindowChanges below{};
        if (modal && modal->isVisible()) {
            below.sibling = static_cast<Window>(x11::topLevelOf(d, idOf(modal->window())));
            below.stack_mode = Below;
            XConfigureWindow(d, id, CWSibling | CWStackMode, &below);
        } else {
            XRaiseWindow(d, id);
        }
        // The manager that let go of it may have unmapped it on the way (it saw the
        // unmapping that handed the window over only after the window was mapped again).
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(d, id, &attributes) && attributes.map_state == IsUnmapped) {
            qCDebug(lcPlacement) << window->objectName() << "mapped again after the manager let go of it";
            XMapRaised(d, id);
        }
    } else if (raise) {
        x11::requestAboveState(d, id);
        x11::requestRaise(d, id);
        if (modal)
            x11::requestRaise(d, idOf(modal->window()));
    }
    XFlush(d);
}

void X11WindowPlacement::setBypass(QWidget* window, bool on) {
    qCDebug(lcPlacement) << window->objectName()
                         << (on ? "stands above a fullscreen window by itself" : "is handed back to the window manager");
    const bool visible = window->isVisible();
    // The manager lets go of a window, or takes it up, only when it is mapped anew; the
    // flag change unmaps it and show() maps it again in the same place.
    window->setWindowFlag(Qt::X11BypassWindowManagerHint, on);
    if (visible)
        window->show();
}

bool X11WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        m_kept.contains(static_cast<QWidget*>(watched))) {
        // Shown again (a blink, F9): straight to where it belongs, once it is mapped.
        QPointer<QWidget> shown = static_cast<QWidget*>(watched);
        QTimer::singleShot(0, this, [this, shown] {
            if (shown && shown->isVisible())
                keep(shown, true);
        });
    }
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        // A message box: kept windows make way for it at once.
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->windowModality() != Qt::NonModal)
            QTimer::singleShot(0, this, &X11WindowPlacement::watchTick);
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        QWidget* top = static_cast<QWidget*>(watched)->window();
        // Without a manager nobody gives the window the keyboard on a click.
        if (bypassing(top) && m_kept.contains(top) && !top->isActiveWindow())
            top->activateWindow();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
