#pragma once

// The spreadsheet documents of one office and their windows, as the calls see them.

#include "LoInstance.h"

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

namespace vexlo::office::lo {

css::uno::Reference<css::frame::XController> controllerOf(const css::uno::Reference<css::uno::XInterface>& doc);
css::uno::Reference<css::awt::XWindow> windowOf(const css::uno::Reference<css::uno::XInterface>& doc);
// The active workbook: the most recently opened or activated one that is still open.
css::uno::Reference<css::sheet::XSpreadsheetDocument> activeDocument(LoInstance& self);
void makeActive(LoInstance& self, const css::uno::Reference<css::uno::XInterface>& doc);
// Lets the office finish what a window change set off (showing, focus, layout) before
// the caller reads the result back.
void settle(LoInstance& self);

} // namespace vexlo::office::lo
