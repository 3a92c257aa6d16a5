#include "SessionPlatform.h"

#include <QByteArray>
#include <QString>

namespace platform {

bool waylandSession() {
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

bool gnomeSession() { return qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME")); }

bool preferX11Platform() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !waylandSession())
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

} // namespace platform
