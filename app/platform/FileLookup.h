#pragma once

#include <QString>

namespace platform {

// Finds a bare file name in a folder the way the program's files were named on a
// case-insensitive file system: the exact name first, then any case. Empty when absent.
QString findFileIgnoringCase(const QString& folder, const QString& bareName);

} // namespace platform
