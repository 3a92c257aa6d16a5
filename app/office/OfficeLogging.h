#pragma once

#include <QLoggingCategory>

// Office calls fail silently towards their callers; these categories keep every
// swallowed failure visible when debugging (QT_LOGGING_RULES="vexlo.office*=true").
Q_DECLARE_LOGGING_CATEGORY(lcOffice)
Q_DECLARE_LOGGING_CATEGORY(lcOfficeFake)
Q_DECLARE_LOGGING_CATEGORY(lcOfficeLo)
