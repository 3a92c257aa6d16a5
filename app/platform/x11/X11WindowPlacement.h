#pragma once

#include "platform/WindowPlacement.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace platform {

// Keeps the program's always-on-top windows above what the user looks at, a fullscreen
// slide show included, and never takes the keyboard from anyone.
//
// Managers differ: Mutter and xfwm4 keep "above" windows over a fullscreen one; openbox
// and KWin put a focused fullscreen window in a layer above them. So the keeper looks at
// what the manager did instead of knowing managers by name: while the manager stacks a
// fullscreen window of someone else over a kept window, the kept window leaves the
// manager's hands (override-redirect) and is raised by the program itself (just below a
// message box of ours that waits for an answer); when that show ends it is handed back,
// so the manager's own stacking and focus rules apply again. A click on a window out of
// the manager's hands gives it the keyboard, since the manager cannot.
class X11WindowPlacement : public QObject, public WindowPlacement {
    Q_OBJECT
public:
    X11WindowPlacement();
    void makeTopmost(QWidget* window) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchTick();
    // The fullscreen window of someone else stacked over the window, 0 when none.
    unsigned long coveringShow(QWidget* window) const;
    void keep(QWidget* window, bool raise);
    bool anyOtherBypassing(const QWidget* window) const;
    void setBypass(QWidget* window, bool on);
    bool isKept(unsigned long id) const;

    QList<QPointer<QWidget>> m_kept;
    QTimer m_watch;
};

} // namespace platform
