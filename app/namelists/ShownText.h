#pragma once

#include <QString>

namespace namelists {

// A cell's text as the draw window shows it: control characters and line breaks become
// blanks, direction overrides are dropped, leading and trailing blanks go, and a text
// longer than the fields could ever show is cut with "…". The workbook keeps the text as
// it was.
QString shownText(const QString& cellText);

inline constexpr int kShownTextLimit = 64;

} // namespace namelists
