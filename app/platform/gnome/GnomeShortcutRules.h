#pragma once

#include <QString>
#include <QStringList>

// The text rules for GNOME's custom keyboard shortcuts as gsettings prints and takes them.
namespace gnomeShortcut {

// Whether a line of `gsettings list-recursively`, or a value of `gsettings get`, binds the
// bare key (no modifiers), alone or in a list of bindings.
bool bindsKey(const QString& line, const QString& key);

// The paths of a `custom-keybindings` value ("@as []" or "['/a/', '/b/']").
QStringList paths(const QString& listValue);

// The value with `path` added at the end, the paths already there kept as they were.
QString withPath(const QString& listValue, const QString& path);

// A text as a GVariant string literal.
QString quoted(const QString& text);

} // namespace gnomeShortcut
