#include "ListWorkbook.h"

#include "PersonTable.h"

#include "core/NumberRules.h"
#include "office/CellAddress.h"
#include "office/OfficeSuite.h"
#include "office/SheetRange.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcListWorkbook, "vexlo.namelists.workbook")

namespace namelists {

using namespace vexlo::office;

namespace {

std::optional<int16_t> roundedCount(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = double(roundHalfEven(value));
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return int16_t(r);
}

int16_t to16(int64_t v) {
    return int16_t(std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

} // namespace

std::optional<int16_t> countFromCell(const std::optional<QVariant>& cell) {
    if (!cell)
        return std::nullopt; // the read itself failed: keep what was held
    if (!cell->isValid() || cell->isNull())
        return int16_t(0);
    if (isNumericCellValue(*cell))
        return roundedCount(cell->toDouble());
    // A number typed as text still counts, blanks around it allowed.
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    const QString text = cell->toString().trimmed();
    if (text.isEmpty() && cell->toString().isEmpty())
        return int16_t(0);
    if (!number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? roundedCount(v) : std::nullopt;
}

ListWorkbook::ListWorkbook(const ListLayout& layout, OfficeSuite* suite, QString path)
    : m_layout(layout), m_suite(suite), m_path(std::move(path)) {}

ListWorkbook::~ListWorkbook() = default;

ListWorkbook::OpenResult ListWorkbook::openListWorkbook() {
    m_problem = FileProblem::None;
    if (!m_suite)
        return OpenResult::ProgramMissing;
    if (!m_app)
        m_app = m_suite->createSpreadsheetApp();
    if (!m_app) {
        qCDebug(lcListWorkbook) << "no spreadsheet program";
        return OpenResult::ProgramMissing;
    }
    // A file that cannot be written is noticed before anything is changed in it.
    const FileProblem onDisk = writeProblemOnDisk(m_path);
    if (QFileInfo(m_path).isFile() && (onDisk == FileProblem::ReadOnlyFile || onDisk == FileProblem::ReadOnlyFolder)) {
        m_problem = onDisk;
        m_workbook.reset();
        m_sheet.reset();
        return OpenResult::Refused;
    }
    m_workbook = m_app->Open(m_path, kListPassword);
    if (!m_workbook) {
        m_sheet.reset();
        m_problem = m_app->LastFileProblem();
        qCDebug(lcListWorkbook) << "cannot open" << m_path << "problem" << int(m_problem);
        return m_problem == FileProblem::None ? OpenResult::OpenFailed : OpenResult::Refused;
    }
    m_sheet = m_workbook->SelectWorksheet(kListSheet);
    if (!m_sheet) {
        qCDebug(lcListWorkbook) << "no sheet" << kListSheet << "in" << m_path;
        return OpenResult::SheetMissing;
    }
    return OpenResult::Opened;
}

void ListWorkbook::takeUsedRange() {
    auto active = m_app ? m_app->ActiveSheet() : nullptr;
    m_usedRange = active ? active->UsedRange() : nullptr;
}

std::shared_ptr<SheetRange> ListWorkbook::takeListRange(const QString& text) {
    m_usedRange = m_sheet ? m_sheet->Range(text) : nullptr;
    return m_usedRange;
}

int16_t ListWorkbook::usedRangeTotal(SheetRange* range) const {
    const std::optional<int> rows = range ? range->RowCount() : std::nullopt;
    return rows ? to16(int64_t(*rows) - 1) : int16_t(0);
}

void ListWorkbook::validateCountsSilent(ListCounts& counts) {
    auto read = [this](const ListLayout::Cell& c) {
        return countFromCell(m_sheet ? m_sheet->Value(c.row, c.column) : std::nullopt);
    };
    if (auto total = read(m_layout.totalCell))
        counts.totalCount = *total;
    else
        counts.totalCount = usedRangeTotal(m_usedRange.get());
    if (m_layout.participantsFollowTotal)
        counts.participantCount = counts.totalCount;
    else if (auto participants = read(m_layout.participantCell))
        counts.participantCount = *participants;
    counts.totalCount = std::min<int16_t>(counts.totalCount, kCapacity);
    counts.participantCount = std::min(counts.participantCount, counts.totalCount);
}

ListWorkbook::Corrections ListWorkbook::validateCountsCorrecting(ListCounts& counts) {
    auto read = [this](const ListLayout::Cell& c) {
        return countFromCell(m_sheet ? m_sheet->Value(c.row, c.column) : std::nullopt);
    };
    auto write = [this](const ListLayout::Cell& c, int value) {
        if (m_sheet)
            m_sheet->SetValue(c.row, c.column, double(value));
    };
    Corrections corrections;
    // The used range of the active sheet stands in for a count cell that is not a number.
    auto active = m_app ? m_app->ActiveSheet() : nullptr;
    auto range = active ? active->UsedRange() : nullptr;
    counts.totalCount = usedRangeTotal(range.get());
    if (auto total = read(m_layout.totalCell))
        counts.totalCount = *total;
    if (m_layout.participantsFollowTotal)
        counts.participantCount = counts.totalCount;
    else if (auto participants = read(m_layout.participantCell))
        counts.participantCount = *participants;

    if (counts.totalCount > kCapacity) {
        counts.totalCount = kCapacity;
        corrections.totalCapped = true;
        write(m_layout.totalCell, kCapacity);
    }
    if (counts.participantCount > counts.totalCount) {
        counts.participantCount = counts.totalCount;
        write(m_layout.participantCell, counts.participantCount);
        corrections.participantsCorrected = true;
    }
    return corrections;
}

void ListWorkbook::loadNames(PersonTable& people, int totalCount) {
    people.clear();
    const int total = std::min(totalCount, kCapacity);
    // Without the sheet nothing was read: nobody is listed.
    if (total < 1 || !m_sheet)
        return;
    const int lastRow = kPersonRowOffset + total;
    // One read and one write for the whole table: a list of 600 is ready at once.
    const auto block = m_sheet->Values(kFirstPersonRow, kListNumberColumn, lastRow, kPersonNameColumn);
    for (int k = 1; k <= total; ++k) {
        PersonEntry& p = *people.at(k);
        if (block && block->size() >= k && (*block)[k - 1].size() >= 2) {
            p.listNumber = cellValueText((*block)[k - 1][0]);
            p.personName = cellValueText((*block)[k - 1][1]);
        } else {
            p.listNumber = m_sheet->Text(kPersonRowOffset + k, kListNumberColumn).value_or(QString());
            p.personName = m_sheet->Text(kPersonRowOffset + k, kPersonNameColumn).value_or(QString());
        }
        p.available = true;
    }
    people.setListed(total);
    m_sheet->ClearCells(kFirstPersonRow, m_layout.drawColumn, lastRow, m_layout.drawColumn);
}

bool ListWorkbook::recordDraw(int k, int drawNumber) {
    if (!m_sheet || k < 1 || k > kCapacity)
        return false;
    return m_sheet->SetValue(kPersonRowOffset + k, m_layout.drawColumn, double(drawNumber));
}

void ListWorkbook::clearOldResults() {
    if (!m_sheet)
        return;
    for (int column : m_layout.oldResultColumns)
        m_sheet->ClearCells(kFirstPersonRow, column, kLastListRow, column);
}

void ListWorkbook::clearOnAbandon(int totalCount) {
    const int total = std::min(totalCount, kCapacity);
    if (!m_sheet || total < 1)
        return;
    m_sheet->ClearCells(kFirstPersonRow, m_layout.drawColumn, kPersonRowOffset + total, m_layout.drawColumn);
}

void ListWorkbook::emptyStatusCell() {
    if (m_sheet)
        m_sheet->ClearCell(m_layout.statusCell.row, m_layout.statusCell.column);
}

bool ListWorkbook::showWorkbook(const std::function<bool()>& yield) {
    if (!m_app)
        return yield() && yield();
    m_app->MaximizeActiveWindow();
    if (!yield())
        return false;
    m_app->SetVisible(true);
    if (m_sheet)
        m_sheet->Activate();
    m_app->MaximizeActiveWindow();
    return yield();
}

FileProblem ListWorkbook::saveAndQuit() { return m_app ? saveAndQuit(*m_app) : FileProblem::None; }

void ListWorkbook::quit() {
    if (m_app)
        m_app->Quit();
}

void ListWorkbook::release() {
    m_usedRange.reset();
    m_sheet.reset();
    m_workbook.reset();
    m_app.reset();
}

bool ListWorkbook::programRunning() const { return m_app && m_app->IsRunning(); }

std::shared_ptr<SpreadsheetApp> ListWorkbook::attachRunning(OfficeSuite* suite) {
    return suite ? suite->attachRunningSpreadsheet() : nullptr;
}

FileProblem ListWorkbook::saveAndQuit(SpreadsheetApp& app) {
    const FileProblem problem = app.SaveActiveWorkbook() ? FileProblem::None : app.LastFileProblem();
    if (problem != FileProblem::None)
        qCWarning(lcListWorkbook) << "saving the workbook failed:" << int(problem);
    app.Quit();
    return problem;
}

} // namespace namelists
