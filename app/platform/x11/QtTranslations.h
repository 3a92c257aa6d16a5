#pragma once

class QCoreApplication;

namespace platform {

// Loads Qt's own Chinese translations, whatever the user's locale: every text of the
// program is Chinese, so Qt's standard buttons and context menus must be too. Returns
// whether they were found.
bool installChineseQtTranslations(QCoreApplication& app);

} // namespace platform
