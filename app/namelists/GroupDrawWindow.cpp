#include "GroupDrawWindow.h"

#include "GroupDrawTexts.h"
#include "ListTexts.h"

#include "core/FormTimer.h"
#include "office/SheetRange.h"
#include "office/SpreadsheetApp.h"
#include "office/Worksheet.h"

#include <QPointer>
#include <QPushButton>

namespace namelists {

namespace {
constexpr int kPlacedTop = 3150;
constexpr int kGroupColumn = 4; // D
constexpr int kRankColumn = 6;  // F
} // namespace

bool sameGroup(const QVariant& a, const QVariant& b) {
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (!a.isValid() || !b.isValid())
        return !a.isValid() && !b.isValid();
    if (aText != bText)
        return false;
    if (aText)
        return a.toString() == b.toString();
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA), y = b.toDouble(&okB);
    return okA && okB && x == y;
}

DrawWindowSpec GroupDrawWindow::makeSpec() {
    DrawWindowSpec spec = commonDrawWindowSpec(Id, ListLayout::groupList(), 10515);
    spec.editCaption = groupDrawTexts::editCaption;
    spec.resultsCaption = groupDrawTexts::resultsCaption;
    spec.roundOverMessage = groupDrawTexts::roundOver;
    spec.fixedTop = kPlacedTop;
    spec.retakeUsedRangeOnView = false;
    spec.hoverButtons << QStringLiteral("Command7");
    return spec;
}

GroupDrawWindow::GroupDrawWindow(AppContext& ctx) : NameDrawWindow(ctx, makeSpec()) {
    connect(button("Command7"), &QPushButton::clicked, this, &GroupDrawWindow::sortResults);
    button("Command7")->setAutoDefault(true);
}

void GroupDrawWindow::beforeEditAction() {
    liveSession().openedForView = true;
    liveSession().sortedView = false;
}

void GroupDrawWindow::editModeChosen(bool resultsMode) { button("Command7")->setEnabled(resultsMode); }

bool GroupDrawWindow::savesOnConfirm() const { return session().openedForView && !session().sortedView; }

bool GroupDrawWindow::holdsThrowawayView() const { return session().sortedView; }

void GroupDrawWindow::sortResults() {
    const QPointer<NameDrawWindow> self(this);
    DrawSession& s = liveSession();
    ListWorkbook& wb = s.workbook;
    s.sortedView = true;
    s.openedForView = false;
    showConfirmationPanel();
    if (!s.listShownOnce)
        s.listShownOnce = true;
    QPushButton* confirm = button("Command5");
    confirm->setEnabled(false);
    confirm->setText(groupDrawTexts::sorting);

    const int total = s.counts.totalCount;
    const ListWorkbook::OpenResult opened = wb.openListWorkbook();
    // The list's own sheet, whichever sheet the file was saved with in front.
    auto range = wb.takeListRange(QStringLiteral("A13:G") + QString::number(total + kPersonRowOffset));
    if (auto* app = wb.app())
        app->SetDisplayAlerts(false);
    // An empty list has no rows to sort and nobody to rank; ranks written over rows that
    // did not sort would rank the wrong people.
    if (range && total >= 1) {
        const bool sorted = range->Sort(QStringLiteral("D13"), vexlo::office::SortOrder::Ascending,
                                        QStringLiteral("E13"), vexlo::office::SortOrder::Ascending,
                                        vexlo::office::SortHeader::No);
        if (!stays(self, 3))
            return;
        if (sorted)
            writeGroupRanks(total);
    }
    if (!wb.showWorkbook([&self] { return stays(self, 1); }) || !stays(self, 1))
        return;

    confirm->setText(listTexts::confirmCaption);
    confirm->setEnabled(true);
    requestFocus(confirm);
    timer(QStringLiteral("Timer2"))->setEnabled(true);
    s.workbookHeld = true;
    wb.emptyStatusCell();
    if (!stays(self, 2))
        return;
    if (opened != ListWorkbook::OpenResult::Opened)
        showMessage(failureMessage(opened));
}

void GroupDrawWindow::writeGroupRanks(int totalCount) {
    vexlo::office::Worksheet* sheet = session().workbook.worksheet();
    if (!sheet)
        return;
    const int lastRow = kPersonRowOffset + totalCount;
    // One read of the group column: 600 single reads would keep the room waiting.
    const auto block = sheet->Values(kFirstPersonRow, kGroupColumn, lastRow, kGroupColumn);
    auto group = [&](int i) -> QVariant {
        if (block && block->size() >= i && !(*block)[i - 1].isEmpty())
            return (*block)[i - 1][0];
        return sheet->Value(kPersonRowOffset + i, kGroupColumn).value_or(QVariant());
    };
    sheet->SetValue(kFirstPersonRow, kRankColumn, 1.0);
    int base = 0;
    QVariant above = group(1);
    for (int i = 2; i <= totalCount; ++i) {
        const QVariant here = group(i);
        if (sameGroup(here, above)) {
            sheet->SetValue(kPersonRowOffset + i, kRankColumn, double(i - base));
        } else {
            sheet->SetValue(kPersonRowOffset + i, kRankColumn, 1.0);
            base = i - 1;
        }
        above = here;
    }
}

} // namespace namelists
