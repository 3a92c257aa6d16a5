#include "GnomeF9Shortcut.h"

#include "GnomeShortcutRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

Q_LOGGING_CATEGORY(lcGnomeShortcut, "vexlo.gnome.shortcut")

namespace platform {

namespace {
const QString kMediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString kListKey = QStringLiteral("custom-keybindings");
const QString kKey = QStringLiteral("F9");

QString customSchema(const QString& path) {
    return kMediaKeys + QStringLiteral(".custom-keybinding:") + path;
}
} // namespace

QString GnomeF9Shortcut::path() {
    return QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/vexlo-show-timer/");
}

GnomeF9Shortcut::Outcome GnomeF9Shortcut::offer(const Setup& setup) {
    if (QFileInfo::exists(setup.markerPath))
        return Outcome::AlreadyOffered;
    // The fixed bindings of the shell, the window manager and the media keys.
    const std::optional<QString> all = setup.gsettings({QStringLiteral("list-recursively")});
    const std::optional<QString> list = setup.gsettings({QStringLiteral("get"), kMediaKeys, kListKey});
    if (!all || !list)
        return Outcome::Failed;
    for (const QString& line : all->split(u'\n')) {
        if (gnomeShortcut::bindsKey(line, kKey)) {
            qCDebug(lcGnomeShortcut) << "F9 is GNOME's already:" << line;
            return Outcome::KeyTaken;
        }
    }
    // The user's custom shortcuts, ours among them if it is still there.
    const QStringList paths = gnomeShortcut::paths(*list);
    for (const QString& p : paths) {
        const auto binding = setup.gsettings({QStringLiteral("get"), customSchema(p), QStringLiteral("binding")});
        if (binding && gnomeShortcut::bindsKey(*binding, kKey)) {
            qCDebug(lcGnomeShortcut) << "F9 is a custom shortcut already:" << p;
            return Outcome::KeyTaken;
        }
    }
    const QString schema = customSchema(path());
    const bool written =
        setup.gsettings({QStringLiteral("set"), schema, QStringLiteral("name"), gnomeShortcut::quoted(setup.name)}) &&
        setup.gsettings(
            {QStringLiteral("set"), schema, QStringLiteral("command"), gnomeShortcut::quoted(setup.command)}) &&
        setup.gsettings({QStringLiteral("set"), schema, QStringLiteral("binding"), gnomeShortcut::quoted(kKey)}) &&
        (paths.contains(path()) ||
         setup.gsettings({QStringLiteral("set"), kMediaKeys, kListKey, gnomeShortcut::withPath(*list, path())}));
    if (!written)
        return Outcome::Failed;
    QDir().mkpath(QFileInfo(setup.markerPath).path());
    QFile marker(setup.markerPath);
    if (marker.open(QIODevice::WriteOnly))
        marker.write(setup.command.toUtf8() + '\n');
    return Outcome::Added;
}

std::optional<QString> GnomeF9Shortcut::runGsettings(const QStringList& args) {
    QProcess gsettings;
    gsettings.start(QStringLiteral("gsettings"), args);
    if (!gsettings.waitForFinished(5000) || gsettings.exitStatus() != QProcess::NormalExit ||
        gsettings.exitCode() != 0) {
        qCDebug(lcGnomeShortcut) << "gsettings" << args << "failed:" << gsettings.readAllStandardError();
        return std::nullopt;
    }
    return QString::fromUtf8(gsettings.readAllStandardOutput());
}

} // namespace platform
