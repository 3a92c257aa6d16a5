#pragma once

#include "CellAddress.h"

#include <QString>

#include <optional>

namespace vexlo::office {

enum class SortOrder { Ascending = 1, Descending = 2 };
enum class SortHeader { Guess = 0, Yes = 1, No = 2 };

// A block of cells on one worksheet, fixed when the handle is taken.
class SheetRange {
public:
    virtual ~SheetRange() = default;

    virtual RangeAddress Address() const = 0;
    // Rows in the block, or empty once its workbook no longer answers.
    virtual std::optional<int> RowCount() = 0;
    // Sorts the rows of the block on up to two keys. A key is a cell whose column, which
    // must lie inside the block, is compared; an empty second key means one key only.
    // Numbers come before texts, texts compare without regard to case, empty cells go
    // last, rows with equal keys keep their order. SortHeader::Yes keeps the first row in
    // place; SortHeader::Guess is refused rather than guessed.
    virtual bool Sort(const QString& key1, SortOrder order1, const QString& key2, SortOrder order2,
                      SortHeader header) = 0;
};

} // namespace vexlo::office
