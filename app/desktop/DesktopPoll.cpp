#include "DesktopPoll.h"

#include "DockingRules.h"
#include "TitleWatch.h"

#include "core/AppContext.h"
#include "core/Form.h"
#include "core/FormTimer.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcDocking, "vexlo.docking")

namespace {
// The toolbar's strip view.
constexpr int toolbarStripHeight = 510;
// Re-assert always-on-top once more than this many ticks have passed.
constexpr int topmostPeriod = 30;

docking::Box boxOf(const Form& f) { return {f.Left(), f.Top(), f.Width(), f.Height()}; }

// Docking and keep-on-screen work on what the desktop leaves to windows: a manager keeps
// windows out from under its panels (GNOME's top bar), so an edge there is never reached.
docking::Screen screenOf(const Form& f) {
    const QRect area = f.availableArea();
    return {area.width(),
            area.height(),
            area.left(),
            area.top(),
            f.screenEdgeIsOuter(Qt::TopEdge),
            f.screenEdgeIsOuter(Qt::LeftEdge),
            f.screenEdgeIsOuter(Qt::RightEdge)};
}
} // namespace

void applyBox(Form& form, const docking::Box& box) {
    if (form.Left() != box.left)
        form.setLeft(box.left);
    if (form.Top() != box.top)
        form.setTop(box.top);
    if (form.Width() != box.width)
        form.setWidth(box.width);
    if (form.Height() != box.height)
        form.setHeight(box.height);
}

DesktopPoll::DesktopPoll(Form& main, TitleWatch& watch)
    : QObject(&main), m_main(main), m_watch(watch), m_draw(main.control<QPushButton>(QStringLiteral("Command5"))),
      m_shrink(main.control<QPushButton>(QStringLiteral("Command4"))) {
    main.installEventFilter(this);
}

bool DesktopPoll::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_main && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        const QPoint at = m_main.ctx().platform.screen.pointer();
        if (event->type() == QEvent::Leave && m_broughtBackAt == at)
            return QObject::eventFilter(watched, event);
        m_broughtBackAt.reset();
        m_pointerLeft = event->type() == QEvent::Leave;
        m_leftAt = at;
    }
    return QObject::eventFilter(watched, event);
}

void DesktopPoll::pollTick() {
    topmostStep();
    dockingStep();
    if (m_main.ctx().state.countdownState == AppState::Idle && m_draw)
        m_draw->setEnabled(true);
    m_watch.titleScan();
    enableButtons();
    keepOnScreen();
    // One reading serves both F9 tests, so a tick that starts with the key held always
    // ends with the main window shown.
    hotKey(m_main.ctx().platform.keys.isKeyDown(platform::vk::f9));
}

void DesktopPoll::topmostStep() {
    AppState& s = m_main.ctx().state;
    // Counts no further than "due", so a window hidden for any length of time never
    // overflows the counter.
    if (s.topmostTicks <= topmostPeriod)
        ++s.topmostTicks;
    if ((s.topmostRequest == QLatin1String("Y") || s.topmostTicks > topmostPeriod) && m_main.isVisible()) {
        m_main.makeTopmost();
        s.topmostRequest = QStringLiteral("N");
        s.topmostTicks = 0;
    }
}

void DesktopPoll::dockingStep() {
    AppState& s = m_main.ctx().state;
    docking::Box box = boxOf(m_main);
    docking::Flags flags{s.dockedTop, s.dockedLeft, s.dockedRight};
    // Gone from the window, the pointer is over none of it while X still reports the
    // position it left from; once that changes, X sees the pointer again.
    QPoint pointer = m_main.ctx().platform.screen.pointer();
    if (m_pointerLeft && pointer != m_leftAt)
        m_pointerLeft = false;
    if (m_pointerLeft)
        pointer = QPoint(-1000000, -1000000);
    docking::dockingStep(box, flags, screenOf(m_main), pointer, heightForLayoutMode(s.layoutMode));
    m_main.clipToAvailableArea(flags.top || flags.left || flags.right);
    applyBox(m_main, box);
    const bool broughtBack = (s.dockedTop || s.dockedLeft || s.dockedRight) && !(flags.top || flags.left || flags.right);
    if (broughtBack)
        m_broughtBackAt = pointer;
    if (flags != docking::Flags{s.dockedTop, s.dockedLeft, s.dockedRight})
        qCDebug(lcDocking) << "tucked top/left/right" << flags.top << flags.left << flags.right << "pointer" << pointer
                           << (m_pointerLeft ? "(gone from the window)" : "") << "window" << m_main.geometry();
    s.dockedTop = flags.top;
    s.dockedLeft = flags.left;
    s.dockedRight = flags.right;
}

void DesktopPoll::enableButtons() {
    FormTimer* reminder = m_main.timer(QStringLiteral("Timer4"));
    FormTimer* timeUp = m_main.timer(QStringLiteral("Timer3"));
    if (m_shrink && !(reminder && reminder->enabled()) && !(timeUp && timeUp->enabled()))
        m_shrink->setEnabled(true);
}

void DesktopPoll::keepOnScreen() {
    docking::Box box = boxOf(m_main);
    docking::keepOnScreen(box, screenOf(m_main));
    applyBox(m_main, box);
}

void DesktopPoll::hotKey(bool f9Held) {
    if (!f9Held)
        return;
    AppContext& ctx = m_main.ctx();
    Form* toolbar = ctx.forms.ref(FormId::Form3);
    auto toolbarTimer = [toolbar](const char* name) {
        return toolbar ? toolbar->timer(QLatin1String(name)) : nullptr;
    };

    if (!m_main.isVisible() && toolbar) {
        if (toolbar->isVisible()) {
            toolbar->hide();
            if (FormTimer* t = toolbarTimer("Timer1"))
                t->setEnabled(false);
        } else {
            toolbar->setHeight(toolbarStripHeight);
            toolbar->show();
            if (FormTimer* t = toolbarTimer("Timer1"))
                t->setEnabled(true);
        }
    }

    m_main.show();
    if (toolbar) {
        toolbar->hide();
        toolbar->setWindowTitle(QString());
        toolbar->setHeight(toolbarStripHeight);
        if (QWidget* hint = toolbar->controlWidget(QStringLiteral("Frame1")))
            hint->hide();
        if (QWidget* text = toolbar->controlWidget(QStringLiteral("Label1")))
            text->show();
    }
    ctx.forms.unload(FormId::Form2);
    m_main.centreHorizontally();
    ctx.state.dockedLeft = ctx.state.dockedTop = ctx.state.dockedRight = 0;
}
