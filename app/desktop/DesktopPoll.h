#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class Form;
class TitleWatch;
class QPushButton;

// The main window's 100 ms poll (Timer2): always on top, edge docking, the Draw and Shrink
// buttons enabled again, the title scan, keep on screen and the F9 hot key.
class DesktopPoll : public QObject {
    Q_OBJECT
public:
    DesktopPoll(Form& main, TitleWatch& watch);

    void pollTick();

    // The parts of a tick, in the order the tick runs them.
    void topmostStep();
    void dockingStep();
    void enableButtons();
    void keepOnScreen();
    // F9 held: toggles the toolbar while the main window is hidden, then brings the main
    // window back centred with the toolbar in its compact form.
    void hotKey(bool f9Held);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form& m_main;
    // The pointer went from the main window onto something that is no X11 window (GNOME's
    // top bar in a Wayland session): X keeps reporting its last position over the window
    // until it moves over X11 windows again.
    bool m_pointerLeft = false;
    QPoint m_leftAt;
    // Where the pointer brought the window back: the crossing events its own growing
    // causes there are no leaving.
    std::optional<QPoint> m_broughtBackAt;
    TitleWatch& m_watch;
    QPushButton* m_draw;
    QPushButton* m_shrink;
};

// Moves and sizes a window to the box, touching only what differs (the poll would
// otherwise re-apply an unchanged geometry ten times a second).
namespace docking {
struct Box;
}
void applyBox(Form& form, const docking::Box& box);
