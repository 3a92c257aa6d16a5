#include "FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString findFileIgnoringCase(const QString& folder, const QString& bareName) {
    if (bareName.isEmpty() || bareName.contains(u'/'))
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(bareName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(bareName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

} // namespace platform
