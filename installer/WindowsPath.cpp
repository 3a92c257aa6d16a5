#include "WindowsPath.h"

#include <QDir>
#include <QStringList>

QString joinWindowsPath(const QString& base, const QString& windowsTail) {
    const QChar separator = QDir::separator();
    const auto endsWithSeparator = [&](const QString& path) {
        return path.endsWith(u'/') || path.endsWith(separator);
    };
    QString joined = base;
    // "/srv/win/" must not give a doubled separator, but a bare root stays a root.
    while (joined.size() > 1 && endsWithSeparator(joined))
        joined.chop(1);
    for (const QString& part : windowsTail.split(u'\\', Qt::SkipEmptyParts)) {
        if (!endsWithSeparator(joined)) joined += separator;
        joined += part;
    }
    return joined;
}
