#pragma once

#include "FormId.h"

#include <QHash>
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class AppContext;
class FormTimer;

// Base of every window. Geometry is kept in twips as integers (the truth the handlers
// compute with) and mapped to logical pixels; controls and timers are found by the
// design's names. Windows are borderless and always on top; they are dragged by the
// controls the window names.
class Form : public QWidget {
    Q_OBJECT
public:
    Form(AppContext& ctx, FormId id, const QString& layoutResource);
    ~Form() override;

    FormId formId() const { return m_id; }
    AppContext& ctx() const { return m_ctx; }

    // Geometry in twips.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);
    // The screen of the windows' arithmetic is the monitor the main window is on (the
    // primary one until the main window exists), with its origin on the desktop, in twips.
    int screenLeft() const;
    int screenTop() const;
    int screenWidth() const;
    int screenHeight() const;
    // Whether the monitor's edges are edges of the whole desktop.
    bool screenEdgeIsOuter(Qt::Edge edge) const;
    // Left that centres this window on the screen; Top that centres it vertically.
    int centredLeft() const { return screenLeft() + (screenWidth() - Width()) / 2; }
    int centredTop() const { return screenTop() + (screenHeight() - Height()) / 2; }

    // Left := (screen width - width) / 2 together with Top := 2000.
    void centreHorizontally();
    // Pulls the window back inside the screen; its bottom edge stays bottomMargin above
    // the screen's bottom.
    void keepInsideScreen(int bottomMargin = 0);
    // The part of its monitor the desktop leaves to windows, in twips.
    QRect availableArea() const;
    // While on: what lies outside that area is cut off the window itself (a window tucked
    // behind an edge becomes the strip left of it), as no manager keeps a window under
    // its panels. Otherwise only what lies off the desktop is.
    void clipToAvailableArea(bool on);
    void makeTopmost();

    template <class T = QWidget> T* control(const QString& name) const {
        return qobject_cast<T*>(controlWidget(name));
    }
    QWidget* controlWidget(const QString& name) const;
    FormTimer* timer(const QString& name) const;

    // Called by the registry.
    void runLoad();
    void runUnload();
    // Handlers that other subsystems attach to this window (for example the main window's
    // start-up), run after the window's own.
    void addLoadHook(std::function<void()> hook) { m_loadHooks.push_back(std::move(hook)); }
    void addUnloadHook(std::function<void()> hook) { m_unloadHooks.push_back(std::move(hook)); }
    // What a close request from the desktop (Alt+F4, the task list's "Close") does: the
    // window's own way out. Without one the request is ignored.
    void setCloseAction(std::function<void()> action) { m_closeAction = std::move(action); }

    // Pointer behaviour shared by all windows.
    void enableDragging(const QStringList& controlNames, bool byForm = true);
    void focusOnHover(const QStringList& buttonNames);
    // Runs the action on every mouse move over one of the named controls ("" = the form).
    void onMouseMoveOver(const QStringList& controlNames, std::function<void()> action);
    // Click and double-click on controls that have no signal of their own (labels, images).
    void onClick(const QString& controlName, std::function<void()> action);
    void onDoubleClick(const QString& controlName, std::function<void()> action);
    // A field whose content must be valid before the focus may leave it. The check shows
    // its own message and returns false to keep the focus (and swallow the click or key
    // that would have moved it).
    void setValidator(const QString& controlName, std::function<bool()> check);
    // Moves the focus as the pointer or a handler asks, honouring the focused field's check.
    bool requestFocus(QWidget* target);

protected:
    virtual void onLoad() {}
    virtual void onUnload() {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Watch {
        bool drag = false;
        bool focus = false;
        // The pointer is over the control and has had its one go at the focus.
        bool focusTried = false;
        std::vector<std::function<void()>> onMove;
        std::vector<std::function<void()>> onClick;
        std::vector<std::function<void()>> onDoubleClick;
    };
    bool focusMayLeave(QWidget* target);
    Watch& watch(const QString& controlName);
    void applyGeometry();
    QRect monitorPx() const;

    AppContext& m_ctx;
    const FormId m_id;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    // The last positions (pixels) the handlers asked for, to tell their late echoes from
    // moves made by someone else.
    std::array<QPoint, 16> m_requested;
    // Where the window's contents stand inside the part of it on the desktop: a window
    // partly beyond the desktop's top or left edge is cut to the part that is on it, since
    // managers will not place a window off the screen (so a tucked window stays a strip).
    QPoint m_contentOffset;
    bool m_clipToAvailable = false;
    bool m_everShown = false;
    size_t m_requestedNext = 0;
    QHash<QString, QWidget*> m_controls;
    QHash<QString, FormTimer*> m_timers;
    QHash<QObject*, Watch> m_watches;
    QHash<QWidget*, std::function<bool()>> m_validators;
    bool m_validating = false;
    std::vector<std::function<void()>> m_loadHooks, m_unloadHooks;
    std::function<void()> m_closeAction;
    bool m_dragging = false;
    QPoint m_dragAnchor;
    int m_dragLeft = 0, m_dragTop = 0;
};
