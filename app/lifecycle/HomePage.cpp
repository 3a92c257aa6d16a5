#include "HomePage.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifndef VEXLO_HOME_PAGE
#define VEXLO_HOME_PAGE ""
#endif

namespace homePage {

QStringList helpStartCandidates(const QString& programDir) {
    const QDir dir(programDir);
    return {dir.filePath(QStringLiteral("help/index.html")),
            QDir::cleanPath(dir.filePath(QStringLiteral("../../share/vexlo/help/index.html")))};
}

QString resolve(const QString& configured, const QString& programDir) {
    if (!configured.trimmed().isEmpty())
        return configured.trimmed();
    const QStringList candidates = helpStartCandidates(programDir);
    QString page = candidates.last();
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            page = candidate;
            break;
        }
    }
    // Even a missing page is named, so the default handler can say what it did not find.
    return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()).toString();
}

QString shownAs(const QString& address) {
    const QUrl url(address);
    if (url.isLocalFile())
        return QStringLiteral("本机帮助主页");
    QString shown = url.toString(QUrl::RemoveScheme | QUrl::StripTrailingSlash);
    while (shown.startsWith(u'/'))
        shown.remove(0, 1);
    return shown.isEmpty() ? address : shown;
}

QString address(const QString& programDir) { return resolve(QStringLiteral(VEXLO_HOME_PAGE), programDir); }

} // namespace homePage
