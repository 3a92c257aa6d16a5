#pragma once

#include "ListLayout.h"

#include "office/FileProblem.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace vexlo::office {
class OfficeSuite;
class SheetRange;
class SpreadsheetApp;
class Workbook;
class Worksheet;
} // namespace vexlo::office

namespace namelists {

class PersonTable;

// A count cell as a 16-bit integer: numbers (and texts that read as numbers) rounded to
// the nearest integer, halves to even; an empty cell is 0. Nothing when the cell cannot
// be converted (a word, a number out of range) or could not be read at all.
std::optional<int16_t> countFromCell(const std::optional<QVariant>& cell);

// The counts a draw works with.
struct ListCounts {
    int16_t totalCount = 0;
    int16_t participantCount = 0;
};

// One draw window's hold on its workbook: the spreadsheet program, the workbook, the
// worksheet "sheet1" and the used range it took last, with the reading and writing
// rules of the name lists. Every call into the office fails quietly; the rules go on
// with the values they held.
class ListWorkbook {
public:
    // Refused: the workbook could not be written back (`problem()` says why); nothing of
    // it was changed.
    enum class OpenResult { Opened, ProgramMissing, OpenFailed, SheetMissing, Refused };

    // `suite` may be null: no spreadsheet program on this desktop.
    ListWorkbook(const ListLayout& layout, vexlo::office::OfficeSuite* suite, QString path);
    ~ListWorkbook();

    const ListLayout& layout() const { return m_layout; }
    const QString& path() const { return m_path; }

    // Opens the workbook with the password and selects "sheet1", starting the window's
    // spreadsheet program on first use (invisible).
    OpenResult openListWorkbook();
    // The used range of the program's active sheet, kept for the count fallback.
    void takeUsedRange();
    // A block of the list's sheet by its text ("A13:G62"), whatever sheet is in front,
    // kept in the used range's place for the count fallback, as the group draw's sorted
    // view takes it.
    std::shared_ptr<vexlo::office::SheetRange> takeListRange(const QString& text);
    // Why the last open was refused.
    vexlo::office::FileProblem problem() const { return m_problem; }

    // When the list is opened for editing or viewing: the counts corrected in memory.
    void validateCountsSilent(ListCounts& counts);
    struct Corrections {
        bool totalCapped = false;           // above 600: its message comes first
        bool participantsCorrected = false; // more than the total: its message comes later
    };
    // At the first preparation: the counts read, corrected and the corrections written
    // back. The caller shows the messages.
    Corrections validateCountsCorrecting(ListCounts& counts);

    // Reads persons 1 ... total and empties their draw-number cells.
    void loadNames(PersonTable& people, int totalCount);
    bool recordDraw(int k, int drawNumber);
    // Draw-number (and rank) columns of rows 13 to 612.
    void clearOldResults();
    // Draw numbers of persons 1 ... total, when a round is left unfinished.
    void clearOnAbandon(int totalCount);
    void emptyStatusCell();
    // Maximised, visible, "sheet1" in front. `yield` runs at the sequence's pauses; when
    // it answers false the sequence stops there (and false is returned), since its
    // caller, and this object with it, may be gone.
    bool showWorkbook(const std::function<bool()>& yield);
    // The window's program: its active workbook saved, the program ended. None when the
    // workbook was written (or there was no program to save from).
    vexlo::office::FileProblem saveAndQuit();
    // The program ended without saving.
    void quit();
    // Forgets every handle; the next open starts a program afresh.
    void release();

    // A spreadsheet program this process started and that still runs, if any.
    static std::shared_ptr<vexlo::office::SpreadsheetApp> attachRunning(vexlo::office::OfficeSuite* suite);
    static vexlo::office::FileProblem saveAndQuit(vexlo::office::SpreadsheetApp& app);

    vexlo::office::SpreadsheetApp* app() const { return m_app.get(); }
    vexlo::office::Worksheet* worksheet() const { return m_sheet.get(); }
    bool programRunning() const;

private:
    int16_t usedRangeTotal(vexlo::office::SheetRange* range) const;

    const ListLayout& m_layout;
    vexlo::office::OfficeSuite* m_suite;
    QString m_path;
    std::shared_ptr<vexlo::office::SpreadsheetApp> m_app;
    std::shared_ptr<vexlo::office::Workbook> m_workbook;
    std::shared_ptr<vexlo::office::Worksheet> m_sheet;
    std::shared_ptr<vexlo::office::SheetRange> m_usedRange;
    vexlo::office::FileProblem m_problem = vexlo::office::FileProblem::None;
};

} // namespace namelists
