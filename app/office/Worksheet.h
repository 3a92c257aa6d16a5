#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace vexlo::office {

class SheetRange;

// One worksheet of an open workbook. Rows and columns are 1-based.
//
// Cell values: a number is a double QVariant, a text a QString, an empty cell a null
// QVariant. An empty std::optional means the call itself failed.
class Worksheet {
public:
    virtual ~Worksheet() = default;

    virtual QString Name() = 0;
    // Makes this sheet the one shown (and its workbook the active one).
    virtual bool Activate() = 0;

    virtual std::optional<QVariant> Value(int row, int column) = 0;
    // The value as text: decimal text for a number, "" for an empty cell.
    virtual std::optional<QString> Text(int row, int column) = 0;
    // A number is stored as a number; "" empties the cell; any other text is stored as
    // literal text (never as a formula).
    virtual bool SetValue(int row, int column, const QVariant& value) = 0;
    virtual bool ClearCell(int row, int column) = 0;

    // The same, for a block at once: one row list per sheet row, in column order.
    virtual std::optional<QList<QVariantList>> Values(int firstRow, int firstColumn, int lastRow,
                                                       int lastColumn) = 0;
    virtual bool ClearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) = 0;

    // The block from the first to the last non-empty cell; null when the sheet is empty
    // or no longer answers.
    virtual std::shared_ptr<SheetRange> UsedRange() = 0;
    // A block by its text ("A13:G62"); null for text that is not a block of this sheet.
    virtual std::shared_ptr<SheetRange> Range(const QString& text) = 0;
};

} // namespace vexlo::office
