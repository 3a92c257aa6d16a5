#include "CellAddress.h"

#include <cmath>

namespace vexlo::office {

std::optional<CellAddress> parseCellAddress(const QString& text) {
    const QString s = text.trimmed().toUpper();
    int i = 0;
    const int n = s.size();
    if (i < n && s[i] == u'$') ++i;
    qint64 column = 0;
    int letters = 0;
    while (i < n && s[i] >= u'A' && s[i] <= u'Z') {
        column = column * 26 + (s[i].unicode() - u'A' + 1);
        if (column > kMaxColumns) return std::nullopt;
        ++i;
        ++letters;
    }
    if (letters == 0) return std::nullopt;
    if (i < n && s[i] == u'$') ++i;
    qint64 row = 0;
    int digits = 0;
    while (i < n && s[i] >= u'0' && s[i] <= u'9') {
        row = row * 10 + (s[i].unicode() - u'0');
        if (row > kMaxRows) return std::nullopt;
        ++i;
        ++digits;
    }
    if (digits == 0 || i != n) return std::nullopt;
    CellAddress a{int(row), int(column)};
    if (!a.isValid()) return std::nullopt;
    return a;
}

std::optional<RangeAddress> parseRangeAddress(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() > 2) return std::nullopt;
    const auto a = parseCellAddress(parts[0]);
    if (!a) return std::nullopt;
    const auto b = parts.size() == 2 ? parseCellAddress(parts[1]) : a;
    if (!b) return std::nullopt;
    RangeAddress r;
    r.first = {std::min(a->row, b->row), std::min(a->column, b->column)};
    r.last = {std::max(a->row, b->row), std::max(a->column, b->column)};
    return r;
}

QString columnName(int column) {
    if (column < 1 || column > kMaxColumns) return {};
    QString name;
    while (column > 0) {
        const int rem = (column - 1) % 26;
        name.prepend(QChar(u'A' + rem));
        column = (column - 1) / 26;
    }
    return name;
}

bool isNumericCellValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return std::isfinite(value.toDouble());
    default:
        return false;
    }
}

QString cellValueText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return {};
    if (isNumericCellValue(value)) {
        const double d = value.toDouble();
        // Whole numbers print without a fraction or exponent, as the spreadsheet shows them.
        if (d == std::trunc(d) && std::fabs(d) < 1e15) return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    return value.toString();
}

} // namespace vexlo::office
