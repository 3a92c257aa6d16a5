#pragma once

#include <QList>
#include <QString>

namespace namelists {

// Where a name-list workbook keeps its counts, its people and its results. The name-list
// draw and the group draw read the same kind of table from two files that differ only
// in these cells.
struct ListLayout {
    struct Cell {
        int row = 0;
        int column = 0;
        // "D10" for messages that point the user at the cell.
        QString name() const;
    };

    QString fileName;
    Cell totalCell;
    Cell participantCell;
    // Every listed person takes part: the participant count is the total, not a cell.
    bool participantsFollowTotal = false;
    Cell statusCell;
    int drawColumn = 0;
    // Emptied for rows 13 to 612 when the list is first opened for editing.
    QList<int> oldResultColumns;

    static const ListLayout& nameList();  // name.xls
    static const ListLayout& groupList(); // name1.xls
};

// Common to both workbooks.
inline constexpr int kPersonRowOffset = 12; // person k lives in row 12 + k
inline constexpr int kFirstPersonRow = kPersonRowOffset + 1;
inline constexpr int kCapacity = 600;
inline constexpr int kLastListRow = kPersonRowOffset + kCapacity;
inline constexpr int kListNumberColumn = 1; // A
inline constexpr int kPersonNameColumn = 2; // B
inline const QString kListPassword = QStringLiteral("708klm");
inline const QString kListSheet = QStringLiteral("sheet1");

} // namespace namelists
