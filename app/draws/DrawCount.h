#pragma once

#include <QString>

namespace draws {

// Fewest and most participants of an order-number draw.
inline constexpr int minDrawCount = 2;
inline constexpr int maxDrawCount = 600;

// The launcher's confirmed count: the leading digits of the entry (leading blanks
// skipped, empty or non-numeric text gives 0), then anything not above 1 becomes 2 and
// anything above 600 becomes 600.
int confirmedDrawCount(const QString& entry);

// The order-number draw's own count from the handed-over value, clamped the same way;
// a fraction is dropped before clamping and a value that is not a number gives 2.
int orderDrawCount(float drawTotal);

// How many of the count entry's two checks (its first character, then its last) find
// something other than an ASCII digit: 0, 1 or 2. An empty entry passes both; a lone
// wrong character fails both.
int countEntryFailedChecks(const QString& entry);

} // namespace draws
