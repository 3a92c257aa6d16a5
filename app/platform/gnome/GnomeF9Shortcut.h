#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

// F9 as a GNOME custom keyboard shortcut that runs the program with `--show-timer`, for a
// Wayland session whose portal offers no global shortcuts: there a native window with the
// keyboard keeps every key from XWayland, but gnome-settings-daemon still hears the
// shortcut. Offered once per user, and only where no GNOME binding holds F9 already; the
// user's own bindings are never changed, only added to.
class GnomeF9Shortcut {
public:
    // gsettings with these arguments: its output, or nothing when it failed.
    using Gsettings = std::function<std::optional<QString>(const QStringList&)>;
    struct Setup {
        QString name;       // as GNOME's settings list the shortcut
        QString command;    // what it runs
        QString markerPath; // written once the shortcut was added
        Gsettings gsettings;
    };
    enum class Outcome { AlreadyOffered, KeyTaken, Added, Failed };

    static Outcome offer(const Setup& setup);
    // Where the shortcut lies among the user's custom shortcuts.
    static QString path();
    // The gsettings of this machine.
    static std::optional<QString> runGsettings(const QStringList& args);
};

} // namespace platform
