#include "LoSheets.h"

#include "LoCalcViews.h"
#include "LoWorkbookFiles.h"
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

using namespace css::uno;
using css::sheet::XSpreadsheet;
using css::sheet::XSpreadsheetDocument;

namespace vexlo::office {

using lo::LoInstance;
using lo::fromOU;
using lo::prop;
using lo::toOU;
using lo::activeDocument;
using lo::controllerOf;
using lo::makeActive;
using lo::settle;

namespace {

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
                       settle(self);
                       view->setActiveSheet(s);
                       settle(self);
                       Reference<css::container::XNamed> now(view->getActiveSheet(), UNO_QUERY);
                       if (!now.is() || now->getName() != wanted->getName()) return false;
                       makeActive(self, d);
                       return true;
                   })
            .value_or(false);
    }

    std::optional<QVariant> Value(int row, int column) override {
        const RangeAddress a{{row, column}, {row, column}};
        if (!a.isValid()) return std::nullopt;
        auto value = m_inst->call("read cell", [s = m_sheet, a](LoInstance&) -> std::optional<QVariant> {
            Reference<css::table::XCell> cell = s->getCellByPosition(a.first.column - 1, a.first.row - 1);
            // An error value (#DIV/0!) is no number: read as its text, it converts to none.
            if (cell->getError() != 0) return QVariant(fromOU(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString()));
            const auto block = readBlock(s, a);
            if (block.size() != 1 || block.first().size() != 1) return std::nullopt;
            return block.first().first();
        });
        return value ? *value : std::nullopt;
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
        return m_inst->call("save workbook", [d = m_doc](LoInstance&) { return lo::storeWorkbook(d) == FileProblem::None; })
            .value_or(false);
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

std::shared_ptr<Worksheet> lo::makeWorksheet(std::shared_ptr<LoInstance> inst, Reference<XSpreadsheetDocument> doc,
                                             Reference<XSpreadsheet> sheet) {
    return std::make_shared<LoWorksheet>(std::move(inst), std::move(doc), std::move(sheet));
}

std::shared_ptr<Workbook> lo::makeWorkbook(std::shared_ptr<LoInstance> inst, Reference<XSpreadsheetDocument> doc) {
    return std::make_shared<LoWorkbook>(std::move(inst), std::move(doc));
}

} // namespace vexlo::office
