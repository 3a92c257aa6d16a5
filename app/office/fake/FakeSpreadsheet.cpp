#include "FakeSpreadsheet.h"

#include "office/CellAddress.h"
#include "office/OfficeLogging.h"
#include "office/SheetRange.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

#include <algorithm>
#include <cmath>

namespace vexlo::office {

namespace {

// Cell values as the real program hands them out: numbers as doubles, "" as empty.
QVariant normalised(const QVariant& v) {
    if (isNumericCellValue(v)) return QVariant(v.toDouble());
    if (!v.isValid() || v.isNull()) return {};
    const QString s = v.toString();
    if (s.isEmpty()) return {};
    return QVariant(s);
}

QVariant cellOf(const SheetContent& sheet, int row, int column) {
    auto it = sheet.cells.constFind({row, column});
    return it == sheet.cells.constEnd() ? QVariant() : normalised(*it);
}

void storeCell(SheetContent& sheet, int row, int column, const QVariant& v) {
    const QVariant n = normalised(v);
    if (n.isNull())
        sheet.cells.remove({row, column});
    else
        sheet.cells[{row, column}] = n;
}

// Sort order of one key: numbers, then texts without regard to case, then empty cells.
int compareKeys(const QVariant& a, const QVariant& b) {
    auto rank = [](const QVariant& v) { return v.isNull() ? 2 : (isNumericCellValue(v) ? 0 : 1); };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == 0) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ra == 1) return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    return 0;
}

class FakeHandleBase {
public:
    FakeHandleBase(std::shared_ptr<FakeOfficeWorld> world, std::shared_ptr<FakeSpreadsheetInstance> inst,
                   std::shared_ptr<FakeDocument> doc)
        : m_world(std::move(world)), m_instance(std::move(inst)), m_doc(std::move(doc)) {}

protected:
    // One call into the program on this document: false when either is gone.
    bool answer() const {
        if (!m_world->answer(m_instance->pid)) {
            qCDebug(lcOfficeFake) << "call on a program that is gone";
            return false;
        }
        if (!m_doc->open) {
            qCDebug(lcOfficeFake) << "call on a closed workbook" << m_doc->path;
            return false;
        }
        return true;
    }

    std::shared_ptr<FakeOfficeWorld> m_world;
    std::shared_ptr<FakeSpreadsheetInstance> m_instance;
    std::shared_ptr<FakeDocument> m_doc;
};

void makeActive(FakeSpreadsheetInstance& inst, const std::shared_ptr<FakeDocument>& doc) {
    inst.documents.removeAll(doc);
    inst.documents.append(doc);
}

class FakeSheetRange : public SheetRange, private FakeHandleBase {
public:
    FakeSheetRange(std::shared_ptr<FakeOfficeWorld> w, std::shared_ptr<FakeSpreadsheetInstance> i,
                   std::shared_ptr<FakeDocument> d, int sheet, RangeAddress a)
        : FakeHandleBase(std::move(w), std::move(i), std::move(d)), m_sheet(sheet), m_address(a) {}

    RangeAddress Address() const override { return m_address; }

    std::optional<int> RowCount() override {
        if (!answer()) return std::nullopt;
        return m_address.rowCount();
    }

    bool Sort(const QString& key1, SortOrder order1, const QString& key2, SortOrder order2,
              SortHeader header) override {
        if (!answer()) return false;
        if (header == SortHeader::Guess) return false;
        QList<std::pair<int, bool>> keys; // column, descending
        for (const auto& [text, order] : {std::pair{key1, order1}, std::pair{key2, order2}}) {
            if (text.isEmpty()) continue;
            const auto cell = parseCellAddress(text);
            if (!cell || cell->column < m_address.first.column || cell->column > m_address.last.column)
                return false;
            keys.append({cell->column, order == SortOrder::Descending});
        }
        if (keys.isEmpty()) return false;
        SheetContent& sheet = m_doc->content.sheets[m_sheet];
        const int top = m_address.first.row + (header == SortHeader::Yes ? 1 : 0);
        QList<QVariantList> rows;
        for (int r = top; r <= m_address.last.row; ++r) {
            QVariantList row;
            for (int c = m_address.first.column; c <= m_address.last.column; ++c) row.append(cellOf(sheet, r, c));
            rows.append(row);
        }
        const int left = m_address.first.column;
        std::stable_sort(rows.begin(), rows.end(), [&](const QVariantList& a, const QVariantList& b) {
            for (const auto& [column, descending] : keys) {
                const QVariant& x = a[column - left];
                const QVariant& y = b[column - left];
                // Empty cells stay last in either direction.
                if (x.isNull() != y.isNull()) return y.isNull();
                int c = compareKeys(x, y);
                if (descending) c = -c;
                if (c != 0) return c < 0;
            }
            return false;
        });
        for (int i = 0; i < rows.size(); ++i)
            for (int c = 0; c < rows[i].size(); ++c) storeCell(sheet, top + i, left + c, rows[i][c]);
        return true;
    }

private:
    int m_sheet;
    RangeAddress m_address;
};

class FakeWorksheet : public Worksheet, private FakeHandleBase {
public:
    FakeWorksheet(std::shared_ptr<FakeOfficeWorld> w, std::shared_ptr<FakeSpreadsheetInstance> i,
                  std::shared_ptr<FakeDocument> d, int sheet)
        : FakeHandleBase(std::move(w), std::move(i), std::move(d)), m_sheet(sheet) {}

    QString Name() override { return answer() ? sheet().name : QString(); }

    bool Activate() override {
        if (!answer()) return false;
        m_doc->activeSheet = m_sheet;
        makeActive(*m_instance, m_doc);
        return true;
    }

    std::optional<QVariant> Value(int row, int column) override {
        if (!CellAddress{row, column}.isValid() || !answer()) return std::nullopt;
        return cellOf(sheet(), row, column);
    }

    std::optional<QString> Text(int row, int column) override {
        const auto v = Value(row, column);
        if (!v) return std::nullopt;
        return cellValueText(*v);
    }

    bool SetValue(int row, int column, const QVariant& value) override {
        if (!CellAddress{row, column}.isValid()) return false;
        if (!isNumericCellValue(value) && value.typeId() != QMetaType::QString) return false;
        if (!answer()) return false;
        storeCell(sheet(), row, column, value);
        return true;
    }

    bool ClearCell(int row, int column) override {
        if (!CellAddress{row, column}.isValid() || !answer()) return false;
        sheet().cells.remove({row, column});
        return true;
    }

    std::optional<QList<QVariantList>> Values(int firstRow, int firstColumn, int lastRow,
                                              int lastColumn) override {
        const RangeAddress r{{firstRow, firstColumn}, {lastRow, lastColumn}};
        if (!r.isValid() || !answer()) return std::nullopt;
        QList<QVariantList> rows;
        for (int row = firstRow; row <= lastRow; ++row) {
            QVariantList line;
            for (int c = firstColumn; c <= lastColumn; ++c) line.append(cellOf(sheet(), row, c));
            rows.append(line);
        }
        return rows;
    }

    bool ClearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        const RangeAddress r{{firstRow, firstColumn}, {lastRow, lastColumn}};
        if (!r.isValid() || !answer()) return false;
        for (auto it = sheet().cells.begin(); it != sheet().cells.end();) {
            if (r.contains({it.key().first, it.key().second}))
                it = sheet().cells.erase(it);
            else
                ++it;
        }
        return true;
    }

    std::shared_ptr<SheetRange> UsedRange() override {
        if (!answer()) return nullptr;
        std::optional<RangeAddress> used;
        for (auto it = sheet().cells.constBegin(); it != sheet().cells.constEnd(); ++it) {
            if (normalised(*it).isNull()) continue;
            const CellAddress c{it.key().first, it.key().second};
            if (!used) {
                used = RangeAddress{c, c};
                continue;
            }
            used->first = {std::min(used->first.row, c.row), std::min(used->first.column, c.column)};
            used->last = {std::max(used->last.row, c.row), std::max(used->last.column, c.column)};
        }
        if (!used) return nullptr;
        return std::make_shared<FakeSheetRange>(m_world, m_instance, m_doc, m_sheet, *used);
    }

    std::shared_ptr<SheetRange> Range(const QString& text) override {
        const auto a = parseRangeAddress(text);
        if (!a || !answer()) return nullptr;
        return std::make_shared<FakeSheetRange>(m_world, m_instance, m_doc, m_sheet, *a);
    }

private:
    SheetContent& sheet() { return m_doc->content.sheets[m_sheet]; }
    int m_sheet;
};

class FakeWorkbook : public Workbook, private FakeHandleBase {
public:
    using FakeHandleBase::FakeHandleBase;

    std::shared_ptr<Worksheet> SelectWorksheet(const QString& name) override {
        if (!answer() || m_world->faults.sheetMissing) return nullptr;
        const auto& sheets = m_doc->content.sheets;
        for (int i = 0; i < sheets.size(); ++i)
            if (sheets[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return std::make_shared<FakeWorksheet>(m_world, m_instance, m_doc, i);
        qCDebug(lcOfficeFake) << "no sheet" << name << "in" << m_doc->path;
        return nullptr;
    }

    bool Save() override {
        return answer() && m_world->faults.saveFails == FileProblem::None && save(*m_world, *m_doc);
    }

    QString FullName() override { return answer() ? m_doc->path : QString(); }

    static bool save(FakeOfficeWorld& world, const FakeDocument& doc) {
        world.writeWorkbookFile(doc.path, doc.content, doc.password);
        if (auto* f = world.workbookFile(doc.path)) ++f->saves;
        return true;
    }
};

} // namespace

FakeSpreadsheetApp::FakeSpreadsheetApp(std::shared_ptr<FakeOfficeWorld> world,
                                       std::shared_ptr<FakeSpreadsheetInstance> instance, Starter starter)
    : m_world(std::move(world)), m_instance(std::move(instance)), m_starter(std::move(starter)) {}

bool FakeSpreadsheetApp::answer() {
    if (m_instance && m_world->answer(m_instance->pid)) return true;
    qCDebug(lcOfficeFake) << "spreadsheet program is gone";
    return false;
}

std::shared_ptr<FakeDocument> FakeSpreadsheetApp::activeDocument() const {
    if (!m_instance) return nullptr;
    for (auto it = m_instance->documents.crbegin(); it != m_instance->documents.crend(); ++it)
        if ((*it)->open) return *it;
    return nullptr;
}

std::shared_ptr<Workbook> FakeSpreadsheetApp::Open(const QString& fullPath, const QString& password) {
    m_problem = FileProblem::None;
    // A handle whose program has gone gets a new one, as an automation handle would.
    if (!m_instance || !m_world->isRunning(m_instance->pid)) {
        auto fresh = m_starter ? m_starter() : nullptr;
        if (!fresh) return nullptr;
        m_instance = fresh;
    }
    if (!answer()) return nullptr;
    const QString key = FakeOfficeWorld::key(fullPath);
    for (const auto& d : m_instance->documents) {
        if (d->open && d->path == key) {
            makeActive(*m_instance, d);
            return std::make_shared<FakeWorkbook>(m_world, m_instance, d);
        }
    }
    const auto* file = m_world->workbookFile(key);
    if (!file || m_world->faults.fileMissing) {
        qCDebug(lcOfficeFake) << "no workbook file" << key;
        return nullptr;
    }
    // A workbook without an open password opens whatever password is given.
    if ((!file->password.isEmpty() && file->password != password) || m_world->faults.wrongPassword) {
        qCDebug(lcOfficeFake) << "wrong password for" << key;
        return nullptr;
    }
    if (m_world->faults.openRefused != FileProblem::None) {
        m_problem = m_world->faults.openRefused;
        return nullptr;
    }
    auto doc = std::make_shared<FakeDocument>();
    doc->path = key;
    doc->password = file->password;
    doc->content = file->content;
    doc->windowVisible = m_instance->visible;
    if (doc->content.sheets.isEmpty()) doc->content.sheets.append(SheetContent{QStringLiteral("Sheet1"), {}});
    m_instance->documents.append(doc);
    return std::make_shared<FakeWorkbook>(m_world, m_instance, doc);
}

std::shared_ptr<Workbook> FakeSpreadsheetApp::ActiveWorkbook() {
    auto doc = activeDocument();
    if (!doc || !answer()) return nullptr;
    return std::make_shared<FakeWorkbook>(m_world, m_instance, doc);
}

std::shared_ptr<Worksheet> FakeSpreadsheetApp::ActiveSheet() {
    auto doc = activeDocument();
    if (!doc || !answer()) return nullptr;
    return std::make_shared<FakeWorksheet>(m_world, m_instance, doc, doc->activeSheet);
}

std::shared_ptr<SheetRange> FakeSpreadsheetApp::ActiveSheetRange(const QString& text) {
    auto sheet = ActiveSheet();
    return sheet ? sheet->Range(text) : nullptr;
}

bool FakeSpreadsheetApp::MaximizeActiveWindow() {
    auto doc = activeDocument();
    if (!doc || !answer()) return false;
    doc->maximized = true;
    return true;
}

bool FakeSpreadsheetApp::SetVisible(bool visible) {
    if (!answer()) return false;
    m_instance->visible = visible;
    for (const auto& d : m_instance->documents) d->windowVisible = visible;
    return true;
}

bool FakeSpreadsheetApp::ScrollActiveWindowUp(int screens) {
    auto doc = activeDocument();
    if (!doc || screens < 0 || !answer()) return false;
    constexpr int rowsPerScreen = 30;
    doc->firstVisibleRow = std::max(1, doc->firstVisibleRow - screens * rowsPerScreen);
    return true;
}

bool FakeSpreadsheetApp::SaveActiveWorkbook() {
    auto doc = activeDocument();
    if (!doc) {
        m_problem = FileProblem::None; // nothing open: nothing to save, nothing lost
        return false;
    }
    if (!answer()) {
        m_problem = m_instance && m_world->isRunning(m_instance->pid) ? FileProblem::Unknown : FileProblem::ProgramStopped;
        return false;
    }
    m_problem = m_world->faults.saveFails;
    return m_problem == FileProblem::None && FakeWorkbook::save(*m_world, *doc);
}

FileProblem FakeSpreadsheetApp::LastFileProblem() const { return m_problem; }

bool FakeSpreadsheetApp::SetDisplayAlerts(bool on) {
    if (!answer()) return false;
    m_instance->alerts = on;
    return true;
}

bool FakeSpreadsheetApp::DisplayAlerts() { return answer() && m_instance->alerts; }

bool FakeSpreadsheetApp::Quit() {
    if (!answer()) return false;
    for (const auto& d : m_instance->documents) d->open = false;
    m_world->kill(m_instance->pid);
    return true;
}

bool FakeSpreadsheetApp::IsRunning() { return m_instance && m_world->isRunning(m_instance->pid); }

qint64 FakeSpreadsheetApp::ProcessId() const {
    return m_instance && m_world->isRunning(m_instance->pid) ? m_instance->pid : 0;
}

} // namespace vexlo::office
