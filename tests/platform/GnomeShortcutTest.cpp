// F9 offered as a GNOME custom shortcut: against a stand-in for gsettings that keeps the
// values it is given, so what is read after a write is what was written.

#include "platform/gnome/GnomeF9Shortcut.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::GnomeF9Shortcut;
const QString kMedia = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString kCustom = kMedia + QStringLiteral(".custom-keybinding:");

struct FakeGsettings {
    QString listing; // list-recursively
    QMap<QString, QString> values; // "schema key" -> value
    QStringList writes;
    bool broken = false;
    std::optional<QString> operator()(const QStringList& args) {
        if (broken)
            return std::nullopt;
        if (args.value(0) == QLatin1String("list-recursively"))
            return listing;
        const QString at = args.value(1) + u' ' + args.value(2);
        if (args.value(0) == QLatin1String("get"))
            return values.value(at, QStringLiteral("''"));
        values[at] = args.value(3);
        writes << at;
        return QString();
    }
};

TEST(GnomeShortcut, F9IsAddedOnceAndOnlyWhereGnomeHasNoBindingForIt) {
    const QString ours = GnomeF9Shortcut::path();
    struct Case {
        const char* name;
        QString listing, list, userBinding;
        bool offeredBefore, broken;
        GnomeF9Shortcut::Outcome outcome;
        QString listAfter;
    } cases[] = {
        {"fresh account", "org.gnome.desktop.wm.keybindings close ['<Alt>F4']\n", "@as []", {}, false, false,
         GnomeF9Shortcut::Outcome::Added, "['" + ours + "']"},
        {"the user's shortcut on Ctrl+F9 stays", "", "['/u/']", "'<Primary>F9'", false, false,
         GnomeF9Shortcut::Outcome::Added, "['/u/', '" + ours + "']"},
        {"a GNOME binding holds F9", "org.gnome.shell.keybindings toggle ['<Super>a', 'F9']\n", "@as []", {}, false,
         false, GnomeF9Shortcut::Outcome::KeyTaken, "@as []"},
        {"a custom shortcut holds F9", "", "['/u/']", "'F9'", false, false, GnomeF9Shortcut::Outcome::KeyTaken,
         "['/u/']"},
        {"removed by the user after it was offered", "", "@as []", {}, true, false,
         GnomeF9Shortcut::Outcome::AlreadyOffered, "@as []"},
        {"gsettings fails", "", "@as []", {}, false, true, GnomeF9Shortcut::Outcome::Failed, "@as []"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QString marker = home.filePath(QStringLiteral("vexlo/gnome-f9-shortcut"));
        if (c.offeredBefore) {
            QFile f(marker);
            ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("vexlo"))) && f.open(QIODevice::WriteOnly));
        }
        FakeGsettings gsettings;
        gsettings.listing = c.listing;
        gsettings.broken = c.broken;
        gsettings.values[kMedia + QStringLiteral(" custom-keybindings")] = c.list;
        if (!c.userBinding.isEmpty())
            gsettings.values[kCustom + QStringLiteral("/u/ binding")] = c.userBinding;
        const auto outcome = GnomeF9Shortcut::offer(
            {QStringLiteral("计时"), QStringLiteral("vexlo --show-timer"), marker, std::ref(gsettings)});
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(gsettings.values.value(kMedia + QStringLiteral(" custom-keybindings")), c.listAfter);
        for (const QString& at : gsettings.writes)
            EXPECT_TRUE(at.startsWith(kCustom + ours) || at.endsWith(QLatin1String("custom-keybindings")))
                << "never writes a shortcut of the user's: " << at.toStdString();
        const bool added = outcome == GnomeF9Shortcut::Outcome::Added;
        if (added) {
            EXPECT_EQ(gsettings.values.value(kCustom + ours + QStringLiteral(" binding")), QStringLiteral("'F9'"));
            EXPECT_EQ(gsettings.values.value(kCustom + ours + QStringLiteral(" command")),
                      QStringLiteral("'vexlo --show-timer'"));
        }
        EXPECT_EQ(QFile::exists(marker), added || c.offeredBefore) << "offered once per user";
    }
}

} // namespace
