#include "LoSpreadsheet.h"

#include "office/CellAddress.h"
#include "office/SheetRange.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/sheet/XViewPane.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/TableSortField.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XSortable.hpp>

#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <thread>

using namespace css::uno;
using css::lang::XComponent;
using css::sheet::XSpreadsheet;
using css::sheet::XSpreadsheetDocument;

namespace vexlo::office {

using lo::LoInstance;
using lo::fromOU;
using lo::prop;
using lo::toOU;

namespace {

const rtl::OUString kExcel97("MS Excel 97");

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

// The active workbook: the most recently opened or activated one that is still open.
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

void makeActive(LoInstance& self, const Reference<XInterface>& doc) {
    auto it = std::find_if(self.documents.begin(), self.documents.end(),
                           [&](const lo::LoDocument& d) { return d.component == doc; });
    if (it == self.documents.end() || it + 1 == self.documents.end()) return;
    lo::LoDocument d = *it;
    self.documents.erase(it);
    self.documents.push_back(d);
}

bool saveDocument(const Reference<XInterface>& doc) {
    Reference<css::frame::XStorable> storable(doc, UNO_QUERY_THROW);
    if (storable->isReadonly() || !storable->hasLocation()) return false;
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    rtl::OUString filter;
    Any encryption;
    const auto args = model->getArgs();
    for (sal_Int32 i = 0; i < args.getLength(); ++i) {
        if (args[i].Name == "FilterName") args[i].Value >>= filter;
        if (args[i].Name == "EncryptionData") encryption = args[i].Value;
    }
    if (filter == kExcel97) {
        storable->store(); // keeps the open password it was loaded with
        return true;
    }
    // Loaded through another filter: write the file back as the format the program uses,
    // with the same open password.
    std::vector<css::beans::PropertyValue> out{prop("FilterName", Any(kExcel97)), prop("Overwrite", Any(true))};
    if (encryption.hasValue()) out.push_back(prop("EncryptionData", encryption));
    storable->storeAsURL(storable->getLocation(), lo::sequence(out));
    return true;
}

Reference<css::table::XCellRange> blockOf(const Reference<XSpreadsheet>& sheet, const RangeAddress& a) {
    return sheet->getCellRangeByPosition(a.first.column - 1, a.first.row - 1, a.last.column - 1, a.last.row - 1);
}

QList<QVariantList> readBlock(const Reference<XSpreadsheet>& sheet, const RangeAddress& a) {
    Reference<css::sheet::XCellRangeData> data(blockOf(sheet, a), UNO_QUERY_THROW);
    const auto rows = data->getDataArray();
    QList<QVariantList> out;
    out.reserve(rows.getLength());
    for (sal_Int32 r = 0; r < rows.getLength(); ++r) {
        const auto& row = rows[r];
        QVariantList line;
        line.reserve(row.getLength());
        for (sal_Int32 c = 0; c < row.getLength(); ++c) line.append(lo::fromCellAny(row[c]));
        out.append(line);
    }
    return out;
}

void clearBlock(const Reference<XSpreadsheet>& sheet, const RangeAddress& a) {
    // Contents only, as emptying a cell by hand does: formats and notes stay.
    using namespace css::sheet::CellFlags;
    Reference<css::sheet::XSheetOperation> op(blockOf(sheet, a), UNO_QUERY_THROW);
    op->clearContents(VALUE | DATETIME | STRING | FORMULA);
}

class LoSheetRange : public SheetRange {
public:
    LoSheetRange(std::shared_ptr<LoInstance> inst, Reference<XSpreadsheet> sheet, RangeAddress a)
        : m_inst(std::move(inst)), m_sheet(std::move(sheet)), m_address(a) {}

    RangeAddress Address() const override { return m_address; }

    std::optional<int> RowCount() override {
        auto answered = m_inst->call("range row count", [s = m_sheet](LoInstance&) {
            return s->getCellRangeByPosition(0, 0, 0, 0).is();
        });
        if (!answered.value_or(false)) return std::nullopt;
        return m_address.rowCount();
    }

    bool Sort(const QString& key1, SortOrder order1, const QString& key2, SortOrder order2,
              SortHeader header) override {
        if (header == SortHeader::Guess) return false;
        std::vector<css::table::TableSortField> fields;
        for (const auto& [text, order] : {std::pair{key1, order1}, std::pair{key2, order2}}) {
            if (text.isEmpty()) continue;
            const auto cell = parseCellAddress(text);
            if (!cell || cell->column < m_address.first.column || cell->column > m_address.last.column)
                return false;
            css::table::TableSortField f;
            f.Field = cell->column - m_address.first.column; // counted from the block's first column
            f.IsAscending = order == SortOrder::Ascending;
            f.IsCaseSensitive = false;
            f.FieldType = css::table::TableSortFieldType_AUTOMATIC;
            fields.push_back(f);
        }
        if (fields.empty()) return false;
        const bool withHeader = header == SortHeader::Yes;
        return m_inst
            ->call("sort",
                   [s = m_sheet, a = m_address, fields, withHeader](LoInstance&) {
                       Reference<css::util::XSortable> sortable(blockOf(s, a), UNO_QUERY_THROW);
                       auto desc = sortable->createSortDescriptor();
                       auto* p = desc.getArray();
                       for (sal_Int32 i = 0; i < desc.getLength(); ++i) {
                           if (p[i].Name == "SortFields") p[i].Value <<= lo::sequence(fields);
                           else if (p[i].Name == "ContainsHeader") p[i].Value <<= withHeader;
                           else if (p[i].Name == "IsSortColumns") p[i].Value <<= false;
                       }
                       sortable->sort(desc);
                       return true;
                   })
            .value_or(false);
    }

private:
    std::shared_ptr<LoInstance> m_inst;
    Reference<XSpreadsheet> m_sheet;
    RangeAddress m_address;
};

class LoWorksheet : public Worksheet {
public:
    LoWorksheet(std::shared_ptr<LoInstance> inst, Reference<XSpreadsheetDocument> doc, Reference<XSpreadsheet> sheet)
        : m_inst(std::move(inst)), m_doc(std::move(doc)), m_sheet(std::move(sheet)) {}

    QString Name() override {
        return m_inst
            ->call("sheet name",
                   [s = m_sheet](LoInstance&) {
                       return fromOU(Reference<css::container::XNamed>(s, UNO_QUERY_THROW)->getName());
                   })
            .value_or(QString());
    }

    bool Activate() override {
        return m_inst
            ->call("activate sheet",
                   [d = m_doc, s = m_sheet](LoInstance& self) {
                       Reference<css::sheet::XSpreadsheetView> view(controllerOf(d), UNO_QUERY_THROW);
                       Reference<css::container::XNamed> wanted(s, UNO_QUERY_THROW);
                       // A window that has just been shown can still switch back to the
                       // sheet it was laid out with; set the sheet until it holds.
                       for (int attempt = 0; attempt < 25; ++attempt) {
                           view->setActiveSheet(s);
                           Reference<css::container::XNamed> now(view->getActiveSheet(), UNO_QUERY);
                           if (now.is() && now->getName() == wanted->getName()) {
                               if (attempt > 0) qCDebug(lcOfficeLo) << "sheet activation held after" << attempt << "retries";
                               makeActive(self, d);
                               return true;
                           }
                           std::this_thread::sleep_for(std::chrono::milliseconds(20));
                       }
                       return false;
                   })
            .value_or(false);
    }

    std::optional<QVariant> Value(int row, int column) override {
        const RangeAddress a{{row, column}, {row, column}};
        if (!a.isValid()) return std::nullopt;
        auto block = m_inst->call("read cell", [s = m_sheet, a](LoInstance&) { return readBlock(s, a); });
        if (!block || block->size() != 1 || block->first().size() != 1) return std::nullopt;
        return block->first().first();
    }

    std::optional<QString> Text(int row, int column) override {
        const auto v = Value(row, column);
        if (!v) return std::nullopt;
        return cellValueText(*v);
    }

    bool SetValue(int row, int column, const QVariant& value) override {
        const RangeAddress a{{row, column}, {row, column}};
        if (!a.isValid()) return false;
        if (isNumericCellValue(value)) {
            const double d = value.toDouble();
            return m_inst
                ->call("write number",
                       [s = m_sheet, a, d](LoInstance&) {
                           s->getCellByPosition(a.first.column - 1, a.first.row - 1)->setValue(d);
                           return true;
                       })
                .value_or(false);
        }
        if (value.typeId() != QMetaType::QString) return false;
        const QString text = value.toString();
        if (text.isEmpty()) return ClearCell(row, column);
        return m_inst
            ->call("write text",
                   [s = m_sheet, a, t = toOU(text)](LoInstance&) {
                       // As literal text: a leading "=" must not turn a name into a formula.
                       Reference<css::text::XText> cell(s->getCellByPosition(a.first.column - 1, a.first.row - 1),
                                                        UNO_QUERY_THROW);
                       cell->setString(t);
                       return true;
                   })
            .value_or(false);
    }

    bool ClearCell(int row, int column) override { return ClearCells(row, column, row, column); }

    std::optional<QList<QVariantList>> Values(int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        const RangeAddress a{{firstRow, firstColumn}, {lastRow, lastColumn}};
        if (!a.isValid()) return std::nullopt;
        return m_inst->call("read cells", [s = m_sheet, a](LoInstance&) { return readBlock(s, a); });
    }

    bool ClearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        const RangeAddress a{{firstRow, firstColumn}, {lastRow, lastColumn}};
        if (!a.isValid()) return false;
        return m_inst
            ->call("empty cells",
                   [s = m_sheet, a](LoInstance&) {
                       clearBlock(s, a);
                       return true;
                   })
            .value_or(false);
    }

    std::shared_ptr<SheetRange> UsedRange() override {
        auto used = m_inst->call("used range", [s = m_sheet](LoInstance&) -> std::optional<RangeAddress> {
            auto cursor = s->createCursor();
            Reference<css::sheet::XUsedAreaCursor> area(cursor, UNO_QUERY_THROW);
            area->gotoStartOfUsedArea(false);
            area->gotoEndOfUsedArea(true);
            const auto r = Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
            RangeAddress a{{r.StartRow + 1, r.StartColumn + 1}, {r.EndRow + 1, r.EndColumn + 1}};
            // An empty sheet still reports A1 as its used area.
            if (a.rowCount() == 1 && a.columnCount() == 1 &&
                s->getCellByPosition(r.StartColumn, r.StartRow)->getType() == css::table::CellContentType_EMPTY)
                return std::nullopt;
            return a;
        });
        if (!used || !*used) return nullptr;
        return std::make_shared<LoSheetRange>(m_inst, m_sheet, **used);
    }

    std::shared_ptr<SheetRange> Range(const QString& text) override {
        const auto a = parseRangeAddress(text);
        if (!a || !m_inst->alive()) return nullptr;
        return std::make_shared<LoSheetRange>(m_inst, m_sheet, *a);
    }

private:
    std::shared_ptr<LoInstance> m_inst;
    Reference<XSpreadsheetDocument> m_doc;
    Reference<XSpreadsheet> m_sheet;
};

class LoWorkbook : public Workbook {
public:
    LoWorkbook(std::shared_ptr<LoInstance> inst, Reference<XSpreadsheetDocument> doc)
        : m_inst(std::move(inst)), m_doc(std::move(doc)) {}

    std::shared_ptr<Worksheet> SelectWorksheet(const QString& name) override {
        if (name.isEmpty()) return nullptr;
        auto sheet = m_inst->call("select sheet", [d = m_doc, n = toOU(name)](LoInstance&) {
            auto sheets = d->getSheets();
            Reference<XSpreadsheet> s;
            if (sheets->hasByName(n)) sheets->getByName(n) >>= s; // names compare without case
            return s;
        });
        if (!sheet || !sheet->is()) {
            qCDebug(lcOfficeLo) << "no sheet" << name;
            return nullptr;
        }
        return std::make_shared<LoWorksheet>(m_inst, m_doc, *sheet);
    }

    bool Save() override {
        return m_inst->call("save workbook", [d = m_doc](LoInstance&) { return saveDocument(d); }).value_or(false);
    }

    QString FullName() override {
        return m_inst
            ->call("workbook name",
                   [d = m_doc](LoInstance&) {
                       Reference<css::frame::XModel> m(d, UNO_QUERY_THROW);
                       return QUrl(fromOU(m->getURL())).toLocalFile();
                   })
            .value_or(QString());
    }

private:
    std::shared_ptr<LoInstance> m_inst;
    Reference<XSpreadsheetDocument> m_doc;
};

} // namespace

LoSpreadsheetApp::LoSpreadsheetApp(std::shared_ptr<LoSuiteCore> core, std::shared_ptr<LoInstance> inst)
    : m_core(std::move(core)), m_inst(std::move(inst)) {}

std::shared_ptr<LoInstance> LoSpreadsheetApp::live() const { return m_inst && m_inst->alive() ? m_inst : nullptr; }

std::shared_ptr<Workbook> LoSpreadsheetApp::Open(const QString& fullPath, const QString& password) {
    // A handle whose office has gone (quit elsewhere, died) gets a new one.
    if (!live()) {
        auto fresh = m_core->start(LoInstance::Kind::Spreadsheet);
        if (!fresh) return nullptr;
        m_inst = fresh;
    }
    const QFileInfo fi(fullPath);
    if (!fi.isFile()) {
        qCDebug(lcOfficeLo) << "no workbook file" << fullPath;
        return nullptr;
    }
    const QString path = fi.absoluteFilePath();
    m_inst->clearStaleLock(path);
    m_inst->noteOpenedFile(path);
    auto doc = m_inst->call("open workbook", [url = lo::fileUrl(path), pw = toOU(password)](LoInstance& self) {
        for (const auto& d : self.documents) {
            if (d.url != url) continue;
            Reference<XSpreadsheetDocument> open(d.component, UNO_QUERY);
            try {
                if (open.is() && controllerOf(open).is()) {
                    makeActive(self, open);
                    return open;
                }
            } catch (const css::lang::DisposedException&) {
            }
        }
        // Always hidden: a visible load would ask for a missing password in a dialog
        // nobody can answer within the call's deadline. Shown afterwards when wanted.
        std::vector<css::beans::PropertyValue> args{
            prop("Hidden", Any(true)), prop("ReadOnly", Any(false)),
            prop("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
            prop("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE))};
        if (!pw.isEmpty()) args.push_back(prop("Password", Any(pw)));
        Reference<css::frame::XComponentLoader> loader(self.desktop, UNO_QUERY_THROW);
        auto component = loader->loadComponentFromURL(url, "_blank", 0, lo::sequence(args));
        Reference<XSpreadsheetDocument> sheetDoc(component, UNO_QUERY);
        if (!sheetDoc.is()) {
            Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
            if (closeable.is()) closeable->close(true); // not a workbook
            return Reference<XSpreadsheetDocument>();
        }
        self.documents.push_back({component, url});
        if (self.visible) {
            auto w = windowOf(sheetDoc);
            if (w.is()) w->setVisible(true);
        }
        return sheetDoc;
    });
    if (!doc || !doc->is()) {
        qCDebug(lcOfficeLo) << "workbook did not open (missing, wrong password or unreadable):" << path;
        return nullptr;
    }
    return std::make_shared<LoWorkbook>(m_inst, *doc);
}

std::shared_ptr<Workbook> LoSpreadsheetApp::ActiveWorkbook() {
    auto inst = live();
    if (!inst) return nullptr;
    auto doc = inst->call("active workbook", [](LoInstance& self) { return activeDocument(self); });
    if (!doc || !doc->is()) return nullptr;
    return std::make_shared<LoWorkbook>(inst, *doc);
}

std::shared_ptr<Worksheet> LoSpreadsheetApp::ActiveSheet() {
    auto inst = live();
    if (!inst) return nullptr;
    auto pair = inst->call("active sheet", [](LoInstance& self) {
        auto doc = activeDocument(self);
        Reference<XSpreadsheet> sheet;
        if (doc.is()) {
            Reference<css::sheet::XSpreadsheetView> view(controllerOf(doc), UNO_QUERY_THROW);
            sheet = view->getActiveSheet();
        }
        return std::pair(doc, sheet);
    });
    if (!pair || !pair->second.is()) return nullptr;
    return std::make_shared<LoWorksheet>(inst, pair->first, pair->second);
}

std::shared_ptr<SheetRange> LoSpreadsheetApp::ActiveSheetRange(const QString& text) {
    if (!parseRangeAddress(text)) return nullptr;
    auto sheet = ActiveSheet();
    return sheet ? sheet->Range(text) : nullptr;
}

bool LoSpreadsheetApp::MaximizeActiveWindow() {
    auto inst = live();
    return inst && inst->call("maximise window", [](LoInstance& self) {
                           auto doc = activeDocument(self);
                           if (!doc.is()) return false;
                           Reference<css::awt::XTopWindow2> top(windowOf(doc), UNO_QUERY_THROW);
                           top->setIsMaximized(true);
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::SetVisible(bool visible) {
    auto inst = live();
    return inst && inst->call("make visible", [visible](LoInstance& self) {
                           self.visible = visible;
                           auto active = activeDocument(self);
                           for (const auto& d : self.documents) {
                               auto w = windowOf(d.component);
                               if (w.is()) w->setVisible(visible);
                           }
                           if (visible && active.is()) {
                               Reference<css::awt::XTopWindow> top(windowOf(active), UNO_QUERY);
                               if (top.is()) top->toFront();
                           }
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::ScrollActiveWindowUp(int screens) {
    auto inst = live();
    if (!inst || screens < 0) return false;
    return inst->call("scroll up", [screens](LoInstance& self) {
                   auto doc = activeDocument(self);
                   if (!doc.is()) return false;
                   Reference<css::sheet::XViewPane> pane(controllerOf(doc), UNO_QUERY_THROW);
                   const auto visible = pane->getVisibleRange();
                   const qint64 page = std::max<qint64>(1, visible.EndRow - visible.StartRow + 1);
                   const qint64 first = pane->getFirstVisibleRow();
                   pane->setFirstVisibleRow(sal_Int32(std::max<qint64>(0, first - page * screens)));
                   return true;
               })
        .value_or(false);
}

bool LoSpreadsheetApp::SaveActiveWorkbook() {
    auto inst = live();
    return inst && inst->call("save active workbook", [](LoInstance& self) {
                           auto doc = activeDocument(self);
                           return doc.is() && saveDocument(doc);
                       }).value_or(false);
}

bool LoSpreadsheetApp::SetDisplayAlerts(bool on) {
    auto inst = live();
    return inst && inst->call("display alerts", [on](LoInstance& self) {
                           self.alerts = on;
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::DisplayAlerts() {
    auto inst = live();
    return inst && inst->call("display alerts?", [](LoInstance& self) { return self.alerts; }).value_or(false);
}

bool LoSpreadsheetApp::Quit() {
    auto inst = live();
    return inst && inst->quit();
}

bool LoSpreadsheetApp::IsRunning() { return live() != nullptr; }

qint64 LoSpreadsheetApp::ProcessId() const {
    auto inst = live();
    return inst ? inst->pid() : 0;
}

} // namespace vexlo::office
