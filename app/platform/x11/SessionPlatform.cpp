#include "SessionPlatform.h"

#include <QByteArray>
#include <QString>

namespace platform {

bool preferX11Platform() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return false;
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    if (!wayland)
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

} // namespace platform
