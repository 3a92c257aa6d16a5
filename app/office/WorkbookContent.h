#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

#include <utility>

namespace vexlo::office {

// Plain contents of a workbook file: sheets in order, cells keyed by 1-based (row,
// column); a double or a QString per cell. Used to write fixtures and to inspect fakes.
struct SheetContent {
    QString name;
    QMap<std::pair<int, int>, QVariant> cells;

    void set(int row, int column, const QVariant& v) { cells[{row, column}] = v; }
};

struct WorkbookContent {
    QList<SheetContent> sheets;
};

} // namespace vexlo::office
