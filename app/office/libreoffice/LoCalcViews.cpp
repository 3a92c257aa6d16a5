#include "LoCalcViews.h"

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XToolkitExperimental.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>

#include <algorithm>

using namespace css::uno;
using css::sheet::XSpreadsheetDocument;

namespace vexlo::office::lo {

Reference<css::frame::XController> controllerOf(const Reference<XInterface>& doc) {
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    return model->getCurrentController();
}

Reference<css::awt::XWindow> windowOf(const Reference<XInterface>& doc) {
    auto controller = controllerOf(doc);
    if (!controller.is()) return {};
    auto frame = controller->getFrame();
    return frame.is() ? frame->getContainerWindow() : Reference<css::awt::XWindow>();
}

Reference<XSpreadsheetDocument> activeDocument(LoInstance& self) {
    while (!self.documents.empty()) {
        Reference<XSpreadsheetDocument> doc(self.documents.back().component, UNO_QUERY);
        try {
            if (doc.is() && controllerOf(doc).is()) return doc;
        } catch (const css::lang::DisposedException&) {
            // closed by the user
        }
        self.documents.pop_back();
    }
    return {};
}

// A window that has just been shown can otherwise switch back to the sheet it was laid
// out with after a change of sheet was reported.
void settle(LoInstance& self) {
    if (!self.context.is()) return;
    Reference<css::awt::XToolkitExperimental> toolkit(css::awt::Toolkit::create(self.context), UNO_QUERY);
    if (toolkit.is()) toolkit->processEventsToIdle();
}

void makeActive(LoInstance& self, const Reference<XInterface>& doc) {
    auto it = std::find_if(self.documents.begin(), self.documents.end(),
                           [&](const lo::LoDocument& d) { return d.component == doc; });
    if (it == self.documents.end() || it + 1 == self.documents.end()) return;
    lo::LoDocument d = *it;
    self.documents.erase(it);
    self.documents.push_back(d);
}

} // namespace vexlo::office::lo
