#pragma once

// Taking a user's workbook for writing and writing it back, exactly as it was found:
// its format, and its open password only if it had one.

#include "LoInstance.h"
#include "office/FileProblem.h"

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

namespace vexlo::office::lo {

struct LoadedWorkbook {
    css::uno::Reference<css::sheet::XSpreadsheetDocument> doc;
    FileProblem problem = FileProblem::None; // why a workbook that loaded was refused
};

// Loads the workbook at `path` hidden. One without an open password is loaded without
// one, so that it is stored without one; otherwise `password` opens it. One the office
// could only open read-only, or could not write back in its own format, is closed again
// and refused with the reason.
LoadedWorkbook loadWorkbookForWriting(LoInstance& self, const QString& path, const rtl::OUString& password);

// Stores the document over its file in the format and with the protection it was read
// with. None when it was written.
FileProblem storeWorkbook(const css::uno::Reference<css::uno::XInterface>& doc);

} // namespace vexlo::office::lo
