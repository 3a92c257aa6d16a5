#include "Form.h"

#include "AppContext.h"
#include "FormLayout.h"
#include "FormTimer.h"
#include "Forms.h"
#include "Monitors.h"
#include "Twips.h"

#include "platform/Platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>

#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcForm, "vexlo.form")

Form::Form(AppContext& ctx, FormId id, const QString& layoutResource)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_ctx(ctx),
      m_id(id) {
    m_requested.fill(QPoint(std::numeric_limits<int>::min(), std::numeric_limits<int>::min()));
    setObjectName(QStringLiteral("Form%1").arg(static_cast<int>(id)));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    FormLayout layout = FormLayout::build(this, layoutResource);
    m_controls = std::move(layout.controls);
    m_timers = std::move(layout.timers);
    setWindowTitle(layout.caption);
    m_width = layout.width;
    m_height = layout.height;
    applyGeometry();
}

Form::~Form() = default;

void Form::applyGeometry() {
    const QRect wanted(twips::toPixels(m_left), twips::toPixels(m_top), std::max(1, twips::toPixels(m_width)),
                       std::max(1, twips::toPixels(m_height)));
    const QRect bounds = m_clipToAvailable ? m_ctx.platform.screen.available(monitorPx())
                                           : monitors::bounds(m_ctx.platform.screen.monitors());
    QRect shown = wanted.intersected(bounds);
    if (shown.isEmpty())
        shown = wanted;
    const QPoint offset = wanted.topLeft() - shown.topLeft();
    if (offset != m_contentOffset) {
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow())
                child->move(child->pos() + offset - m_contentOffset);
        }
        m_contentOffset = offset;
    }
    const QPoint position = shown.topLeft();
    if (m_requested[(m_requestedNext + m_requested.size() - 1) % m_requested.size()] != position) {
        m_requested[m_requestedNext] = position;
        m_requestedNext = (m_requestedNext + 1) % m_requested.size();
    }
    setGeometry(shown);
}

QRect Form::monitorPx() const {
    const std::vector<QRect> all = m_ctx.platform.screen.monitors();
    const Form* main = m_ctx.forms.loaded(FormId::Form1);
    // Until the main window has been on the screen it stands nowhere yet: the primary.
    if (!main || !main->m_everShown)
        return all.front();
    const QRect wanted(twips::toPixels(main->m_left), twips::toPixels(main->m_top), twips::toPixels(main->m_width),
                       twips::toPixels(main->m_height));
    return monitors::holding(all, wanted.center());
}

int Form::screenLeft() const { return twips::fromPixels(monitorPx().x()); }
int Form::screenTop() const { return twips::fromPixels(monitorPx().y()); }

bool Form::screenEdgeIsOuter(Qt::Edge edge) const {
    const monitors::OuterEdges outer = monitors::outerEdges(m_ctx.platform.screen.monitors(), monitorPx());
    switch (edge) {
    case Qt::TopEdge:
        return outer.top;
    case Qt::LeftEdge:
        return outer.left;
    case Qt::RightEdge:
        return outer.right;
    default:
        return true;
    }
}

void Form::setLeft(int left) {
    m_left = left;
    applyGeometry();
}

void Form::setTop(int top) {
    m_top = top;
    applyGeometry();
}

void Form::setWidth(int width) {
    m_width = width;
    applyGeometry();
}

void Form::setHeight(int height) {
    m_height = height;
    applyGeometry();
}

QRect Form::availableArea() const {
    const QRect px = m_ctx.platform.screen.available(monitorPx());
    return {twips::fromPixels(px.x()), twips::fromPixels(px.y()), twips::fromPixels(px.width()),
            twips::fromPixels(px.height())};
}

void Form::clipToAvailableArea(bool on) {
    if (on == m_clipToAvailable)
        return;
    m_clipToAvailable = on;
    applyGeometry();
}

int Form::screenWidth() const { return twips::fromPixels(monitorPx().width()); }
int Form::screenHeight() const { return twips::fromPixels(monitorPx().height()); }

void Form::centreHorizontally() {
    m_left = centredLeft();
    m_top = screenTop() + 2000;
    applyGeometry();
}

void Form::keepInsideScreen(int bottomMargin) {
    const int left = screenLeft(), top = screenTop();
    if (Top() < top)
        setTop(top);
    if (Left() < left)
        setLeft(left);
    if (Left() > left + screenWidth() - Width())
        setLeft(left + screenWidth() - Width());
    if (Top() > top + screenHeight() - Height() - bottomMargin)
        setTop(top + screenHeight() - Height() - bottomMargin);
}

void Form::makeTopmost() { m_ctx.platform.placement.makeTopmost(this); }

QWidget* Form::controlWidget(const QString& name) const {
    QWidget* w = m_controls.value(name);
    if (!w)
        qCWarning(lcForm) << objectName() << "has no control" << name;
    return w;
}

FormTimer* Form::timer(const QString& name) const {
    FormTimer* t = m_timers.value(name);
    if (!t)
        qCWarning(lcForm) << objectName() << "has no timer" << name;
    return t;
}

void Form::runLoad() {
    onLoad();
    for (auto& hook : m_loadHooks)
        hook();
}

void Form::runUnload() {
    for (auto& hook : m_unloadHooks)
        hook();
    onUnload();
    for (FormTimer* t : std::as_const(m_timers))
        t->setEnabled(false);
}

Form::Watch& Form::watch(const QString& controlName) {
    QWidget* w = controlName.isEmpty() ? this : controlWidget(controlName);
    Q_ASSERT(w);
    if (!m_watches.contains(w))
        w->installEventFilter(this);
    return m_watches[w];
}

void Form::enableDragging(const QStringList& controlNames, bool byForm) {
    if (byForm)
        watch(QString()).drag = true;
    for (const QString& name : controlNames)
        watch(name).drag = true;
}

void Form::focusOnHover(const QStringList& buttonNames) {
    for (const QString& name : buttonNames)
        watch(name).focus = true;
}

void Form::onMouseMoveOver(const QStringList& controlNames, std::function<void()> action) {
    for (const QString& name : controlNames)
        watch(name).onMove.push_back(action);
}

void Form::onClick(const QString& controlName, std::function<void()> action) {
    watch(controlName).onClick.push_back(std::move(action));
}

void Form::onDoubleClick(const QString& controlName, std::function<void()> action) {
    watch(controlName).onDoubleClick.push_back(std::move(action));
}

void Form::setValidator(const QString& controlName, std::function<bool()> check) {
    QWidget* field = controlWidget(controlName);
    if (!field)
        return;
    m_validators.insert(field, std::move(check));
    field->installEventFilter(this);
    // Every control that can take the focus from the field must ask it first.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w != field && (w->focusPolicy() & Qt::ClickFocus))
            w->installEventFilter(this);
    }
}

bool Form::focusMayLeave(QWidget* target) {
    QWidget* focused = QApplication::focusWidget();
    auto it = m_validators.find(focused);
    if (it == m_validators.end() || target == focused || m_validating)
        return true;
    m_validating = true;
    const bool ok = it.value()();
    m_validating = false;
    if (!ok)
        focused->setFocus(Qt::OtherFocusReason);
    return ok;
}

bool Form::requestFocus(QWidget* target) {
    if (!target || !focusMayLeave(target))
        return false;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (!m_validators.isEmpty() && watched->isWidgetType()) {
        auto* target = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress && target->isEnabled() &&
            (target->focusPolicy() & Qt::ClickFocus) && !focusMayLeave(target))
            return true;
        if (event->type() == QEvent::KeyPress && m_validators.contains(target)) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !focusMayLeave(nullptr))
                return true;
        }
    }
    auto it = m_watches.find(watched);
    if (it == m_watches.end())
        return QWidget::eventFilter(watched, event);
    // A disabled control is not there for the pointer; Qt hands the event on to its parent.
    if (watched != this && watched->isWidgetType() && !static_cast<QWidget*>(watched)->isEnabled())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Leave)
        it.value().focusTried = false;
    const Watch w = it.value(); // an action may change the watches
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        for (const auto& action : w.onDoubleClick)
            action();
        break;
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (w.drag && me->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragAnchor = me->globalPosition().toPoint();
            m_dragLeft = m_left;
            m_dragTop = m_top;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (w.drag && m_dragging && (me->buttons() & Qt::LeftButton)) {
            // Offsets from the press position: the same moves as shifting by each step,
            // but immune to the window manager lagging behind a fast drag.
            const QPoint delta = me->globalPosition().toPoint() - m_dragAnchor;
            m_left = m_dragLeft + twips::fromPixels(delta.x());
            m_top = m_dragTop + twips::fromPixels(delta.y());
            applyGeometry();
        }
        [[fallthrough]];
    }
    case QEvent::Enter: {
        // One go per entry: a refused focus must not bring its message back on every move.
        if (w.focus && !w.focusTried) {
            m_watches[watched].focusTried = true;
            requestFocus(static_cast<QWidget*>(watched));
        }
        for (const auto& action : w.onMove)
            action();
        break;
    }
    case QEvent::MouseButtonRelease: {
        m_dragging = false;
        auto* me = static_cast<QMouseEvent*>(event);
        auto* target = static_cast<QWidget*>(watched);
        if (me->button() == Qt::LeftButton && target->rect().contains(me->position().toPoint()))
            for (const auto& action : w.onClick)
                action();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form::closeEvent(QCloseEvent* event) {
    // Windows end only through the registry's unload, which runs their close handling;
    // a window the desktop closed behind its handlers' back would leave the program
    // running without it.
    event->ignore();
    if (m_closeAction)
        m_closeAction();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_everShown = true;
}

void Form::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    const QPoint p = event->pos();
    // A window manager confirms each move in its own time, so the confirmation of an
    // earlier move can arrive after the next one was made (the time-up banner moves every
    // 5 ms). Following it would set the window back a step and lose the twips it stands at.
    if (std::find(m_requested.begin(), m_requested.end(), p) != m_requested.end())
        return;
    // Follow moves the handlers did not make (the window manager placing the window).
    const QPoint wanted = p + m_contentOffset;
    if (twips::toPixels(m_left) != wanted.x())
        m_left = twips::fromPixels(wanted.x());
    if (twips::toPixels(m_top) != wanted.y())
        m_top = twips::fromPixels(wanted.y());
}
