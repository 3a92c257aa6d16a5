#pragma once

#include "ListWorkbook.h"
#include "PersonTable.h"

#include <QString>

#include <cstdint>

namespace namelists {

// What a name-list draw window holds for its lifetime: its hold on the workbook, the
// people of the round and the counters of its handlers. Discarded with the window.
struct DrawSession {
    DrawSession(const ListLayout& layout, vexlo::office::OfficeSuite* suite, const QString& path)
        : workbook(layout, suite, path) {}

    ListWorkbook workbook;
    PersonTable people;
    ListCounts counts;
    int16_t drawnCount = 0;     // the next draw is number drawnCount + 1
    int16_t drawsSinceOpen = 0; // draws since the window was opened
    int16_t currentPick = 0;    // person drawn last
    int16_t prepCount = 1;
    bool prepared = false;
    bool listShownOnce = false;
    int16_t resultViewCount = 1;
    bool workbookHeld = false;
    QString manualAllowed = QStringLiteral("Y");
    QString autoAllowed = QStringLiteral("Y");
    int inputBlockTicks = 1;
    int waitTicks = 1;
    // The group draw: how the workbook now on screen was opened.
    bool openedForView = false;
    bool sortedView = false;
};

} // namespace namelists
