#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace platform {

// A titled top-level window of any program, with what the desktop tells about its owner.
struct ClientWindow {
    quint64 id = 0;
    QString title;
    // The window's class hint: instance and class name.
    QString resName, resClass;
    // The process that made it, 0 when the window does not say.
    qint64 pid = 0;
    // Its process runs under another user account.
    bool otherUser = false;
    // One of this program's own windows.
    bool ownWindow = false;
};

// The windows of other programs, and the one way this program may act on them: a close
// request, as the user's own close button would send, so the program can ask to save.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // Titled top-level windows, from the top of the stacking order.
    virtual std::vector<ClientWindow> list() = 0;
    // False when the request could not be sent (the window is gone or takes none).
    virtual bool requestClose(quint64 id) = 0;
};

} // namespace platform
