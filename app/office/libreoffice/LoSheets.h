#pragma once

// Worksheets, cell blocks and workbooks of a spreadsheet office, over its calls.

#include "LoInstance.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

#include <memory>

namespace vexlo::office::lo {

std::shared_ptr<Worksheet> makeWorksheet(std::shared_ptr<LoInstance> inst,
                                         css::uno::Reference<css::sheet::XSpreadsheetDocument> doc,
                                         css::uno::Reference<css::sheet::XSpreadsheet> sheet);
std::shared_ptr<Workbook> makeWorkbook(std::shared_ptr<LoInstance> inst,
                                       css::uno::Reference<css::sheet::XSpreadsheetDocument> doc);

} // namespace vexlo::office::lo
