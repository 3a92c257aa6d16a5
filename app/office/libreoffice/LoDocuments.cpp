// Writing new workbook and presentation files through the suite's hidden office.

#include "LibreOfficeSuite.h"
#include "LoSuiteCore.h"
#include "office/CellAddress.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using namespace css::uno;

namespace vexlo::office {

using lo::LoInstance;
using lo::prop;
using lo::toOU;

namespace {

// Closes the new document whatever happens while it is filled in.
struct ClosesOnExit {
    Reference<css::lang::XComponent> doc;
    ~ClosesOnExit() {
        try {
            Reference<css::util::XCloseable> c(doc, UNO_QUERY);
            if (c.is()) c->close(true);
        } catch (const css::uno::Exception&) {
        }
    }
};

Reference<css::lang::XComponent> newDocument(LoInstance& self, const char* factory) {
    Reference<css::frame::XComponentLoader> loader(self.desktop, UNO_QUERY_THROW);
    return loader->loadComponentFromURL(rtl::OUString::createFromAscii(factory), "_blank", 0,
                                        lo::props({prop("Hidden", Any(true))}));
}

} // namespace

bool LibreOfficeSuite::writeWorkbook(const QString& path, const WorkbookContent& content, const QString& password) {
    // The .xls writer silently drops longer passwords and would write an open file.
    if (password.size() > 15 || content.sheets.isEmpty()) return false;
    for (const auto& s : content.sheets)
        for (auto it = s.cells.constBegin(); it != s.cells.constEnd(); ++it)
            if (!CellAddress{it.key().first, it.key().second}.isValid()) return false;
    auto inst = m_core->utility();
    if (!inst) return false;
    const auto url = lo::fileUrl(path);
    return inst->call("write workbook", [url, content, pw = toOU(password)](LoInstance& self) {
                   ClosesOnExit guard{newDocument(self, "private:factory/scalc")};
                   Reference<css::sheet::XSpreadsheetDocument> doc(guard.doc, UNO_QUERY_THROW);
                   auto sheets = doc->getSheets();
                   Reference<css::container::XIndexAccess> byIndex(sheets, UNO_QUERY_THROW);
                   for (int i = 0; i < content.sheets.size(); ++i) {
                       const auto& sc = content.sheets[i];
                       Reference<css::sheet::XSpreadsheet> sheet;
                       if (i == 0) {
                           byIndex->getByIndex(0) >>= sheet;
                           Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->setName(toOU(sc.name));
                       } else {
                           sheets->insertNewByName(toOU(sc.name), sal_Int16(i));
                           sheets->getByName(toOU(sc.name)) >>= sheet;
                       }
                       for (auto it = sc.cells.constBegin(); it != sc.cells.constEnd(); ++it) {
                           auto cell = sheet->getCellByPosition(it.key().second - 1, it.key().first - 1);
                           if (isNumericCellValue(*it))
                               cell->setValue(it->toDouble());
                           else if (!it->toString().isEmpty())
                               Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(toOU(it->toString()));
                       }
                   }
                   std::vector<css::beans::PropertyValue> args{prop("FilterName", Any(rtl::OUString("MS Excel 97"))),
                                                               prop("Overwrite", Any(true))};
                   if (!pw.isEmpty()) args.push_back(prop("Password", Any(pw)));
                   Reference<css::frame::XStorable>(doc, UNO_QUERY_THROW)->storeToURL(url, lo::sequence(args));
                   return true;
               })
        .value_or(false);
}

bool LibreOfficeSuite::writePresentation(const QString& path, int slides) {
    if (slides < 1) return false;
    auto inst = m_core->utility();
    if (!inst) return false;
    const auto url = lo::fileUrl(path);
    return inst->call("write presentation", [url, slides](LoInstance& self) {
                   ClosesOnExit guard{newDocument(self, "private:factory/simpress")};
                   Reference<css::drawing::XDrawPagesSupplier> supplier(guard.doc, UNO_QUERY_THROW);
                   auto pages = supplier->getDrawPages();
                   while (pages->getCount() < slides) pages->insertNewByIndex(pages->getCount() - 1);
                   Reference<css::lang::XMultiServiceFactory> factory(guard.doc, UNO_QUERY_THROW);
                   for (int i = 0; i < slides; ++i) {
                       Reference<css::drawing::XDrawPage> page(pages->getByIndex(i), UNO_QUERY_THROW);
                       Reference<css::drawing::XShape> shape(factory->createInstance("com.sun.star.drawing.TextShape"),
                                                             UNO_QUERY_THROW);
                       shape->setPosition(css::awt::Point(2000, 2000));
                       shape->setSize(css::awt::Size(15000, 4000));
                       Reference<css::drawing::XShapes>(page, UNO_QUERY_THROW)->add(shape);
                       Reference<css::text::XText>(shape, UNO_QUERY_THROW)
                           ->setString(toOU(QStringLiteral("Slide %1").arg(i + 1)));
                   }
                   Reference<css::frame::XStorable>(guard.doc, UNO_QUERY_THROW)
                       ->storeToURL(url, lo::props({prop("FilterName", Any(rtl::OUString("MS PowerPoint 97"))),
                                                    prop("Overwrite", Any(true))}));
                   return true;
               })
        .value_or(false);
}

} // namespace vexlo::office
