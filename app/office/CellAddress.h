#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace vexlo::office {

// Sheet limits shared by every backend, so a call that one backend accepts is not
// refused by the other (LibreOffice 7.4's default sheet size).
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 1024;

// A cell position, 1-based like the automation interface it mirrors.
struct CellAddress {
    int row = 0;
    int column = 0;

    bool isValid() const { return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns; }
    friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

// A rectangular block of cells, corners included, normalised so first <= last.
struct RangeAddress {
    CellAddress first;
    CellAddress last;

    int rowCount() const { return last.row - first.row + 1; }
    int columnCount() const { return last.column - first.column + 1; }
    bool contains(const CellAddress& c) const {
        return c.row >= first.row && c.row <= last.row && c.column >= first.column &&
               c.column <= last.column;
    }
    bool isValid() const {
        return first.isValid() && last.isValid() && first.row <= last.row && first.column <= last.column;
    }
    friend bool operator==(const RangeAddress&, const RangeAddress&) = default;
};

// "D13", "$d$13" -> row 13, column 4. Anything else (sheet prefixes, R1C1, blanks inside,
// positions beyond the sheet) is refused rather than guessed at.
std::optional<CellAddress> parseCellAddress(const QString& text);

// "A13:G62" or a single cell "D13"; corners may come in any order.
std::optional<RangeAddress> parseRangeAddress(const QString& text);

// 1 -> "A", 27 -> "AA"; empty for columns outside the sheet.
QString columnName(int column);

// The text form of a cell value as the name-list code reads it: a number gives its
// shortest decimal text ("3", "2.5"), an empty cell gives "", a text is itself.
QString cellValueText(const QVariant& value);

// True when the value is something a cell can hold as a number.
bool isNumericCellValue(const QVariant& value);

} // namespace vexlo::office
