#include "OfficeLogging.h"

Q_LOGGING_CATEGORY(lcOffice, "vexlo.office", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOfficeFake, "vexlo.office.fake", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOfficeLo, "vexlo.office.libreoffice", QtWarningMsg)
