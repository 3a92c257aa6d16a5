#include "X11WindowPlacement.h"

#include "X11Display.h"
#include "SessionPlatform.h"
#include "X11StackQueries.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xatom.h>

Q_LOGGING_CATEGORY(lcPlacement, "vexlo.placement")

namespace {
void reassertOpacity(Display* d, unsigned long id, double opacity) {
    // Mutter in a Wayland session takes no notice of the alpha a window carries when it
    // maps (Qt writes it before): written again while the window is shown, it is honoured.
    if (opacity >= 1.0)
        return;
    const unsigned long value = static_cast<unsigned long>(std::llround(opacity * 0xffffffffUL));
    XChangeProperty(d, id, XInternAtom(d, "_NET_WM_WINDOW_OPACITY", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
}

// GNOME announces a window that maps without the focus while another has it ("… is
// ready"), on the projected slide, unless the window is kept out of the task list. Every
// map is a new window to Mutter, so the state is written before each one (Qt adds its own
// states to what it finds on an unmapped window).
void skipTaskList(Display* d, unsigned long id) {
    const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
    const Atom skip = XInternAtom(d, "_NET_WM_STATE_SKIP_TASKBAR", False);
    XChangeProperty(d, id, state, XA_ATOM, 32, PropModeAppend, reinterpret_cast<const unsigned char*>(&skip), 1);
}
} // namespace

namespace platform {

namespace {

// Often enough that a show that has just started covers the panel only for a moment.
constexpr int watchMs = 250;
// A manager takes a few milliseconds to let go of an unmapped window; a slow one is not
// waited for longer than this.
constexpr int releaseWaitMs = 500;

// Out of the manager's hands. Done on the X window itself, behind Qt's back: changing Qt's
// flags makes the window anew, and the new one may come up without its title.
const char* const bypassProperty = "vexloOutOfManagersHands";

bool bypassing(const QWidget* w) { return w->property(bypassProperty).toBool(); }

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

bool X11WindowPlacement::anyOtherBypassing(const QWidget* window) const {
    return std::any_of(m_kept.begin(), m_kept.end(), [window](const QPointer<QWidget>& w) {
        return w && w != window && w->isVisible() && bypassing(w);
    });
}

void X11WindowPlacement::watchTick() {
    m_kept.removeAll(nullptr);
    if (!x11::display() || m_kept.isEmpty()) {
        m_watch.stop();
        return;
    }
    for (const QPointer<QWidget>& w : std::as_const(m_kept)) {
        if (w && w->testAttribute(Qt::WA_WState_Created))
            keep(w, false);
    }
}

void X11WindowPlacement::keep(QWidget* window, bool raise) {
    Display* d = x11::display();
    // A hidden window is made ready too, so that it maps straight where it belongs when it
    // is shown again (a blinking panel).
    // A box that waits stays with the windows it belongs to: out of the manager's hands
    // when they are, so that the program alone stacks them, the box on top.
    const bool wanted = coveringShow(window) != 0 || (window->isModal() && anyOtherBypassing(window));
    if (wanted != bypassing(window)) {
        setBypass(window, wanted);
        raise = true;
    }
    if (!window->isVisible())
        return;
    const unsigned long id = idOf(window);
    reassertOpacity(d, id, window->windowOpacity());
    // Never over a message box that waits for an answer.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && (modal->window() == window || !modal->isVisible()))
        modal = nullptr;
    if (bypassing(window)) {
        // Nobody stacks it but us; restacking a window the manager does not manage moves no
        // focus. Just below a box that waits, else on top.
        if (modal) {
            XWindowChanges below{};
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
        if (modal) {
            x11::requestRaise(d, idOf(modal->window()));
        } else if (!x11::windowManagerRuns(d)) {
            // Nobody to ask, and nobody who could hand out the focus on a raise.
            XRaiseWindow(d, id);
        } else {
            x11::requestAboveState(d, id);
            x11::requestRaise(d, id);
        }
    }
    XFlush(d);
}

void X11WindowPlacement::setBypass(QWidget* window, bool on) {
    qCDebug(lcPlacement) << window->objectName()
                         << (on ? "stands above a fullscreen window by itself" : "is handed back to the window manager");
    Display* d = x11::display();
    const unsigned long id = idOf(window);
    const bool mapped = window->isVisible();
    // The manager lets go of a window, or takes it up, only when it is mapped anew. Mapped
    // again before the manager has let go, it would stay in the manager's dead frame.
    if (mapped) {
        x11::withdraw(d, id);
        if (on && !x11::waitUntilReleased(d, id, releaseWaitMs))
            qCDebug(lcPlacement) << "the window manager kept" << window->objectName() << "in its frame";
    }
    x11::setOverrideRedirect(d, id, on);
    window->setProperty(bypassProperty, on);
    if (mapped) {
        if (on)
            XMapRaised(d, id);
        else
            XMapWindow(d, id);
        // A box that waits for an answer needs the keyboard, which no manager gives it now.
        if (on && window->isModal())
            XSetInputFocus(d, id, RevertToParent, CurrentTime);
    }
    XFlush(d);
}

bool X11WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
        auto* shown = static_cast<QWidget*>(watched);
        // A message box is kept like our other windows while it waits: above a show too.
        if (shown->isModal()) {
            if (!m_kept.contains(shown))
                m_kept.append(shown);
            // The others make way for it.
            QTimer::singleShot(0, this, &X11WindowPlacement::watchTick);
        }
        if (m_kept.contains(shown) && platform::gnomeSession() && shown->testAttribute(Qt::WA_WState_Created))
            skipTaskList(x11::display(), idOf(shown));
        if (m_kept.contains(shown)) {
            // About to be mapped: on top straight away if nobody else stacks it.
            if (bypassing(shown))
                XRaiseWindow(x11::display(), idOf(shown));
            QPointer<QWidget> later = shown;
            QTimer::singleShot(0, this, [this, later] {
                if (later && later->isVisible())
                    keep(later, true);
            });
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        QWidget* top = static_cast<QWidget*>(watched)->window();
        // Without a manager nobody gives the window the keyboard on a click.
        if (bypassing(top) && m_kept.contains(top) && !top->isActiveWindow()) {
            XSetInputFocus(x11::display(), idOf(top), RevertToParent, CurrentTime);
            XFlush(x11::display());
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
