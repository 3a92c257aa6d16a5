#include "GnomeShortcutRules.h"

#include <QRegularExpression>

namespace gnomeShortcut {

bool bindsKey(const QString& line, const QString& key) {
    // A binding is a quoted accelerator; modifiers come in angle brackets before the key.
    const QRegularExpression bare(QStringLiteral("'%1'").arg(QRegularExpression::escape(key)));
    return bare.match(line).hasMatch();
}

QStringList paths(const QString& listValue) {
    QStringList found;
    static const QRegularExpression item(QStringLiteral("'([^']*)'"));
    for (auto it = item.globalMatch(listValue); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QString withPath(const QString& listValue, const QString& path) {
    QStringList items;
    for (const QString& p : paths(listValue))
        items << quoted(p);
    items << quoted(path);
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

} // namespace gnomeShortcut
