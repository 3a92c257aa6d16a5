#pragma once

#include "FileProblem.h"

#include <QString>

#include <memory>

namespace vexlo::office {

class SheetRange;
class Workbook;
class Worksheet;

// The spreadsheet program. Every call fails quietly (false, null): callers go on with
// the values they held.
//
// A handle outlives its program: after a Quit (through this or another handle) or the
// program's death, calls fail at once, and the next Open starts a new, invisible
// program behind the same handle.
class SpreadsheetApp {
public:
    virtual ~SpreadsheetApp() = default;

    // Opens a workbook for writing, with its open password ("" for none) when it has
    // one; a workbook without one stays without. Null when the file is missing, the
    // password is wrong, the program cannot be reached, or the workbook could not be
    // written back (in use elsewhere, read-only, a format the program only reads):
    // `LastFileProblem` then says which, and nothing was changed. The opened workbook
    // becomes the active one.
    virtual std::shared_ptr<Workbook> Open(const QString& fullPath, const QString& password) = 0;

    virtual std::shared_ptr<Workbook> ActiveWorkbook() = 0;
    virtual std::shared_ptr<Worksheet> ActiveSheet() = 0;
    // A block of the active sheet by its text; null when the text is not a block.
    virtual std::shared_ptr<SheetRange> ActiveSheetRange(const QString& text) = 0;

    virtual bool MaximizeActiveWindow() = 0;
    virtual bool SetVisible(bool visible) = 0;
    // Scrolls the active window up by whole screens, stopping at the top row.
    virtual bool ScrollActiveWindowUp(int screens) = 0;
    // Writes the active workbook back in the format and with the protection it was read
    // with. False when it could not: `LastFileProblem` says why.
    virtual bool SaveActiveWorkbook() = 0;
    // Why the last Open or save did not take the file; None after one that did.
    virtual FileProblem LastFileProblem() const = 0;
    // Kept for the callers' sequence. Quit never asks anything whatever this says: a
    // question inside the program could not be answered within a call's deadline.
    virtual bool SetDisplayAlerts(bool on) = 0;
    virtual bool DisplayAlerts() = 0;
    // Ends the program, discarding unsaved changes; false when it had already gone.
    virtual bool Quit() = 0;

    virtual bool IsRunning() = 0;
    virtual qint64 ProcessId() const = 0;
};

} // namespace vexlo::office
