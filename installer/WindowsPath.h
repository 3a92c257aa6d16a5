#pragma once

#include <QString>

// The finisher's folders are written the Windows way ("windir" + "\system32"). Joining them
// with the platform's own separator keeps them findable on this platform too.
QString joinWindowsPath(const QString& base, const QString& windowsTail);
