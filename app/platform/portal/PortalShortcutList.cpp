#include "PortalShortcutList.h"

#include <QDBusMetaType>

namespace platform {

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcutEntry& entry) {
    out.beginStructure();
    out << entry.id << entry.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcutEntry& entry) {
    in.beginStructure();
    in >> entry.id >> entry.properties;
    in.endStructure();
    return in;
}

void registerPortalShortcutTypes() {
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<PortalShortcutList>();
}

PortalShortcutList portalShortcutsOf(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("a(sa{sv})"))
            return qdbus_cast<PortalShortcutList>(argument);
    }
    return value.value<PortalShortcutList>();
}

} // namespace platform
