#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "vexlo.translations")

namespace platform {

bool installChineseQtTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool any = false;
    // qtbase holds the widgets' texts, qtmultimedia the sound errors Qt may word.
    for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("%1_zh_CN").arg(QLatin1String(catalogue)), folder)) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            qCWarning(lcTranslations) << "no Chinese" << catalogue << "translations in" << folder;
            delete translator;
        }
    }
    return any;
}

} // namespace platform
