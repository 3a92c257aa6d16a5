#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace platform {

// The portal's list of shortcuts, a(sa{sv}): a name and its properties ("description",
// "preferred_trigger" asked; "trigger_description" answered).
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcutEntry>;

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcutEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcutEntry& entry);

// Makes the list known to QtDBus; safe to call more than once.
void registerPortalShortcutTypes();
// The list inside a reply's variant (a QDBusArgument there), empty when it is none.
PortalShortcutList portalShortcutsOf(const QVariant& value);

} // namespace platform

Q_DECLARE_METATYPE(platform::PortalShortcutEntry)
