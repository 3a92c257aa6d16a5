#include "Logging.h"

Q_LOGGING_CATEGORY(lcFinisher, "vexlo.finisher", QtWarningMsg)
