#pragma once

#include <QLoggingCategory>

// Everything the finisher decides quietly (skipped components, commands that would not start)
// is still visible with QT_LOGGING_RULES="vexlo.finisher.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcFinisher)
