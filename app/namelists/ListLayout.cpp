#include "ListLayout.h"

#include "office/CellAddress.h"

namespace namelists {

QString ListLayout::Cell::name() const { return vexlo::office::columnName(column) + QString::number(row); }

const ListLayout& ListLayout::nameList() {
    static const ListLayout layout{
        QStringLiteral("name.xls"), {10, 4}, {11, 4}, false, {5, 6}, 3, {3},
    };
    return layout;
}

const ListLayout& ListLayout::groupList() {
    // D10 is not read here: D11 holds the total, and everybody takes part.
    static const ListLayout layout{
        QStringLiteral("name1.xls"), {11, 4}, {11, 4}, true, {5, 7}, 5, {5, 6},
    };
    return layout;
}

} // namespace namelists
