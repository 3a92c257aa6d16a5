#pragma once

#include <QString>
#include <QStringList>

// The files the program refuses to run without, looked up by bare name in a folder.
namespace dataFiles {
const QStringList& required();
// The required files missing from the folder (case ignored), in the order above.
QStringList missing(const QString& folder);
} // namespace dataFiles
