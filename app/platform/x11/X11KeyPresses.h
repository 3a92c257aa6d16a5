#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <vector>

struct _XDisplay;
class QSocketNotifier;

namespace platform {

// Every key press on the X server, whichever program has the focus (XInput2 raw events on
// a connection of its own), so that a tap shorter than the poll's period is not lost. A
// press counts once, and only for a short while: a key pressed while nobody asked is not
// acted on much later.
class X11KeyPresses {
public:
    X11KeyPresses();
    ~X11KeyPresses();
    X11KeyPresses(const X11KeyPresses&) = delete;
    X11KeyPresses& operator=(const X11KeyPresses&) = delete;

    bool listening() const { return m_display != nullptr; }
    // True when one of the codes was pressed lately and not asked about since; forgets it.
    bool takePress(const std::vector<uint8_t>& codes);

private:
    void drain();

    _XDisplay* m_display = nullptr;
    int m_xiOpcode = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QElapsedTimer m_clock;
    // Time of the last unasked press of each key code, -1 when none.
    std::vector<qint64> m_pressedAt = std::vector<qint64>(256, -1);
};

} // namespace platform
