#include "NumberRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

int64_t roundHalfEven(double value) {
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    double result = floorValue;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floorValue, 2.0) != 0.0))
        result = floorValue + 1.0;
    return static_cast<int64_t>(result);
}

int16_t numberRule(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    double value = 0.0;
    bool anyDigit = false;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
        value = value * 10.0 + (t[i].unicode() - u'0');
        anyDigit = true;
        ++i;
    }
    if (i < t.size() && t[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            value += (t[i].unicode() - u'0') * scale;
            scale /= 10.0;
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return 0;
    value = std::min(value, 1e15); // keep the cast below defined for absurdly long digit runs
    const int64_t rounded = roundHalfEven(negative ? -value : value);
    return static_cast<int16_t>(std::clamp<int64_t>(rounded, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

QString padTwo(int n) {
    return n > 9 ? QString::number(n) : QStringLiteral("0") + QString::number(n);
}
