#include "DataFiles.h"

#include "platform/FileLookup.h"

namespace dataFiles {

const QStringList& required() {
    static const QStringList files = {QStringLiteral("name.xls"), QStringLiteral("myppt.ppt"),
                                      QStringLiteral("note1.ppt"), QStringLiteral("note2.ppt")};
    return files;
}

QStringList missing(const QString& folder) {
    QStringList absent;
    for (const QString& file : required()) {
        if (platform::findFileIgnoringCase(folder, file).isEmpty())
            absent << file;
    }
    return absent;
}

} // namespace dataFiles
