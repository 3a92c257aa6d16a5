#include "DrawCount.h"

#include <algorithm>
#include <cmath>

namespace draws {

namespace {
bool isAsciiDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

int clampCount(long long value) {
    return static_cast<int>(std::clamp<long long>(value, minDrawCount, maxDrawCount));
}
} // namespace

int confirmedDrawCount(const QString& entry) {
    qsizetype i = 0;
    while (i < entry.size() && (entry[i] == u' ' || entry[i] == u'\t'))
        ++i;
    long long value = 0;
    // Saturates long before it could overflow: the clamp only needs "above 600".
    for (; i < entry.size() && isAsciiDigit(entry[i]); ++i)
        value = std::min<long long>(value * 10 + (entry[i].unicode() - u'0'), 1'000'000);
    return clampCount(value);
}

int orderDrawCount(float drawTotal) {
    if (std::isnan(drawTotal) || !(drawTotal > 1.0f))
        return minDrawCount;
    if (drawTotal > static_cast<float>(maxDrawCount))
        return maxDrawCount;
    return clampCount(static_cast<long long>(std::floor(drawTotal)));
}

int countEntryFailedChecks(const QString& entry) {
    if (entry.isEmpty())
        return 0;
    return (isAsciiDigit(entry.front()) ? 0 : 1) + (isAsciiDigit(entry.back()) ? 0 : 1);
}

} // namespace draws
