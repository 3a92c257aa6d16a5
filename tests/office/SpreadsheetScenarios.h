#pragma once

// Spreadsheet scenarios written once and run against every backend, so the fake that
// later windows are tested with behaves like the real program.

#include "ScenarioSupport.h"
#include "office/SheetRange.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

using namespace vexlo::office;

template <class Backend>
class SpreadsheetScenarios : public OfficeScenario<Backend> {
protected:
    // Create, open with the password, select "sheet1": the callers' usual start.
    std::shared_ptr<Worksheet> openSheet1(std::shared_ptr<SpreadsheetApp>& app, const QString& file) {
        app = this->suite().createSpreadsheetApp();
        if (!app) return nullptr;
        auto wb = app->Open(file, kPassword);
        return wb ? wb->SelectWorksheet(QStringLiteral("sheet1")) : nullptr;
    }
};

TYPED_TEST_SUITE_P(SpreadsheetScenarios);

TYPED_TEST_P(SpreadsheetScenarios, OpenWithRightPasswordReadsCells) {
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Value(10, 4), QVariant(5.0));
    EXPECT_EQ(sheet->Value(11, 4), QVariant(3.0));
    EXPECT_EQ(sheet->Value(1, 1), QVariant(QStringLiteral("随机抽签名单")));
    EXPECT_EQ(sheet->Text(14, 2), QStringLiteral(" 李四 ")); // blanks are the caller's business
    EXPECT_EQ(sheet->Text(17, 2), QStringLiteral("adam"));
    EXPECT_EQ(sheet->Text(15, 1), QStringLiteral("3"));
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, WrongOrMissingPasswordGivesNoWorkbook) {
    const QString file = this->writeNameList();
    auto app = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    for (const QString& pw : {QString(), QStringLiteral("wrong"), QStringLiteral("708KLM"), QStringLiteral("708kl")}) {
        SCOPED_TRACE(pw.toStdString());
        EXPECT_FALSE(app->Open(file, pw));
        EXPECT_FALSE(app->ActiveWorkbook());
    }
    // A refused open leaves the program usable.
    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    EXPECT_TRUE(wb->SelectWorksheet(QStringLiteral("sheet1")));
    // A workbook without an open password opens whatever is given.
    for (const QString& pw : {QString(), kPassword}) {
        const QString plain = this->path(QStringLiteral("plain%1.xls").arg(pw));
        ASSERT_TRUE(this->backend().writeWorkbook(plain, nameListContent(), QString()));
        EXPECT_TRUE(app->Open(plain, pw)) << pw.toStdString();
    }
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, MissingFileOrSheetGivesNothing) {
    const QString file = this->writeNameList();
    auto app = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->Open(this->path(QStringLiteral("absent.xls")), kPassword));
    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    EXPECT_FALSE(wb->SelectWorksheet(QStringLiteral("sheet9")));
    EXPECT_FALSE(wb->SelectWorksheet(QString()));
    // Sheet names compare without regard to case.
    auto upper = wb->SelectWorksheet(QStringLiteral("SHEET2"));
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->Name(), QStringLiteral("sheet2"));
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, SaveKeepsThePassword) {
    const QString file = this->writeNameList();
    {
        std::shared_ptr<SpreadsheetApp> app;
        auto sheet = this->openSheet1(app, file);
        ASSERT_TRUE(sheet);
        EXPECT_TRUE(sheet->SetValue(13, 3, 7));
        EXPECT_TRUE(sheet->SetValue(14, 3, QStringLiteral("")));
        EXPECT_TRUE(app->SaveActiveWorkbook());
        EXPECT_TRUE(app->Quit());
    }
    auto app = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->Open(file, QString()));
    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    auto sheet = wb->SelectWorksheet(QStringLiteral("sheet1"));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Value(13, 3), QVariant(7.0));
    EXPECT_EQ(sheet->Value(14, 3), QVariant());
    EXPECT_EQ(sheet->Text(14, 2), QStringLiteral(" 李四 "));
    // The second sheet survives the round trip too.
    EXPECT_TRUE(wb->SelectWorksheet(QStringLiteral("sheet2")));
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, UsedRangeRowCount) {
    struct Case {
        const char* name;
        QList<std::pair<int, int>> cells;
        int rows; // 0: no used range
    };
    const QList<Case> cases{
        {"list from row 1", {{1, 1}, {10, 4}, {62, 2}}, 62},
        {"block not starting at row 1", {{5, 3}, {10, 4}}, 6},
        {"single cell", {{7, 7}}, 1},
        {"empty sheet", {}, 0},
    };
    auto app = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        SheetContent s{QStringLiteral("sheet1"), {}};
        for (auto [r, c] : cases[i].cells) s.set(r, c, QStringLiteral("x"));
        const QString file = this->path(QStringLiteral("used%1.xls").arg(i));
        ASSERT_TRUE(this->backend().writeWorkbook(file, {{s}}, kPassword));
        auto wb = app->Open(file, kPassword);
        ASSERT_TRUE(wb);
        ASSERT_TRUE(wb->SelectWorksheet(QStringLiteral("sheet1")));
        auto active = app->ActiveSheet();
        ASSERT_TRUE(active);
        auto used = active->UsedRange();
        if (cases[i].rows == 0) {
            EXPECT_FALSE(used);
            continue;
        }
        ASSERT_TRUE(used);
        EXPECT_EQ(used->RowCount(), cases[i].rows);
    }
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, CellsAsNumbersTextsAndEmpty) {
    struct Case {
        const char* name;
        QVariant written;
        QVariant value;
        QString text;
    };
    const QList<Case> cases{
        {"whole number", 3, 3.0, "3"},
        {"fraction", 2.5, 2.5, "2.5"},
        {"negative", -12.0, -12.0, "-12"},
        {"large", 123456789012.0, 123456789012.0, "123456789012"},
        {"text", QStringLiteral("李四"), QStringLiteral("李四"), "李四"},
        {"text that looks like a formula", QStringLiteral("=1+2"), QStringLiteral("=1+2"), "=1+2"},
        {"digits as text", QStringLiteral("007"), QStringLiteral("007"), "007"},
        {"empty text empties", QStringLiteral(""), QVariant(), ""},
    };
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const int row = 40 + i;
        ASSERT_TRUE(sheet->SetValue(row, 5, QStringLiteral("old")));
        ASSERT_TRUE(sheet->SetValue(row, 5, cases[i].written));
        EXPECT_EQ(sheet->Value(row, 5), cases[i].value);
        EXPECT_EQ(sheet->Text(row, 5), cases[i].text);
    }
    // A never-used cell and a cleared one read as empty, not as a failure.
    EXPECT_EQ(sheet->Value(500, 9), QVariant());
    EXPECT_EQ(sheet->Text(500, 9), QString());
    ASSERT_TRUE(sheet->ClearCell(13, 1));
    EXPECT_EQ(sheet->Value(13, 1), QVariant());
    // What a cell cannot hold is refused.
    EXPECT_FALSE(sheet->SetValue(13, 1, QVariant(QDate(2024, 1, 1))));
    EXPECT_FALSE(sheet->SetValue(13, 1, QVariant()));
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, AddressesOutsideTheSheetFail) {
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    for (auto [r, c] : QList<std::pair<int, int>>{{0, 1}, {1, 0}, {-3, 2}, {kMaxRows + 1, 1}, {1, kMaxColumns + 1}}) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(r).arg(c).toStdString());
        EXPECT_FALSE(sheet->Value(r, c));
        EXPECT_FALSE(sheet->SetValue(r, c, 1));
        EXPECT_FALSE(sheet->ClearCell(r, c));
    }
    EXPECT_FALSE(sheet->Values(5, 1, 4, 1));
    for (const char* text : {"", "bogus", "A0:B3", "sheet1.A1", "A1:B2:C3"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(sheet->Range(QString::fromLatin1(text)));
        EXPECT_FALSE(app->ActiveSheetRange(QString::fromLatin1(text)));
    }
    EXPECT_EQ(sheet->Value(kMaxRows, kMaxColumns), QVariant());
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, BatchReadAndClearMatchCellByCell) {
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    auto block = sheet->Values(10, 1, 18, 4);
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), 9);
    for (int r = 0; r < 9; ++r) {
        ASSERT_EQ((*block)[r].size(), 4);
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(QStringLiteral("row %1 column %2").arg(10 + r).arg(1 + c).toStdString());
            EXPECT_EQ((*block)[r][c], sheet->Value(10 + r, 1 + c));
        }
    }
    // Emptying a block leaves exactly what emptying its cells one by one leaves.
    ASSERT_TRUE(sheet->ClearCells(13, 3, 17, 3));
    for (int row = 12; row <= 18; ++row) EXPECT_EQ(sheet->Value(row, 3), QVariant()) << row;
    EXPECT_EQ(sheet->Text(13, 2), QStringLiteral("张三"));
    EXPECT_EQ(sheet->Value(13, 4), QVariant());
    EXPECT_EQ(sheet->Value(11, 4), QVariant(3.0));
    auto used = sheet->UsedRange();
    ASSERT_TRUE(used);
    EXPECT_EQ(used->RowCount(), 17);
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, SortByGroupThenDrawNumber) {
    const QString file = this->path(QStringLiteral("name1.xls"));
    ASSERT_TRUE(this->backend().writeWorkbook(file, groupListContent(), kPassword));
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    const int last = 12 + int(kGroupRows.size());
    auto range = app->ActiveSheetRange(QStringLiteral("A13:G%1").arg(last));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->RowCount(), int(kGroupRows.size()));
    ASSERT_TRUE(app->SetDisplayAlerts(false));
    ASSERT_TRUE(range->Sort(QStringLiteral("D13"), SortOrder::Ascending, QStringLiteral("E13"),
                            SortOrder::Ascending, SortHeader::No));

    QList<int> original(kGroupRows.size());
    for (int i = 0; i < original.size(); ++i) original[i] = i;
    std::stable_sort(original.begin(), original.end(), [](int a, int b) {
        return std::pair(kGroupRows[a].group, kGroupRows[a].draw) < std::pair(kGroupRows[b].group, kGroupRows[b].draw);
    });
    for (int i = 0; i < original.size(); ++i) {
        const int row = 13 + i, from = original[i];
        SCOPED_TRACE(row);
        EXPECT_EQ(sheet->Value(row, 4), QVariant(double(kGroupRows[from].group)));
        EXPECT_EQ(sheet->Value(row, 5), QVariant(double(kGroupRows[from].draw)));
        // The whole row moved, free columns included.
        EXPECT_EQ(sheet->Value(row, 1), QVariant(double(from + 1)));
        EXPECT_EQ(sheet->Text(row, 3), QStringLiteral("c%1").arg(from + 1));
        EXPECT_EQ(sheet->Text(row, 7), QStringLiteral("g%1").arg(from + 1));
    }
    EXPECT_EQ(sheet->Text(30, 1), QStringLiteral("below the list"));
    EXPECT_EQ(sheet->Value(11, 4), QVariant(12.0));

    // The sorted view is never saved: quitting with alerts off drops it.
    EXPECT_TRUE(app->Quit());
    auto again = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(again);
    auto wb = again->Open(file, kPassword);
    ASSERT_TRUE(wb);
    auto fresh = wb->SelectWorksheet(QStringLiteral("sheet1"));
    ASSERT_TRUE(fresh);
    for (int i = 0; i < kGroupRows.size(); ++i)
        EXPECT_EQ(fresh->Value(13 + i, 5), QVariant(double(kGroupRows[i].draw))) << i;
    EXPECT_TRUE(again->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, SortRefusesKeysItCannotUse) {
    const QString file = this->path(QStringLiteral("name1.xls"));
    ASSERT_TRUE(this->backend().writeWorkbook(file, groupListContent(), kPassword));
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    auto range = sheet->Range(QStringLiteral("A13:E24"));
    ASSERT_TRUE(range);
    EXPECT_FALSE(range->Sort(QStringLiteral("G13"), SortOrder::Ascending, {}, SortOrder::Ascending, SortHeader::No));
    EXPECT_FALSE(range->Sort(QStringLiteral("bogus"), SortOrder::Ascending, {}, SortOrder::Ascending, SortHeader::No));
    EXPECT_FALSE(range->Sort({}, SortOrder::Ascending, {}, SortOrder::Ascending, SortHeader::No));
    EXPECT_FALSE(range->Sort(QStringLiteral("D13"), SortOrder::Ascending, {}, SortOrder::Ascending, SortHeader::Guess));
    // Nothing moved.
    EXPECT_EQ(sheet->Value(13, 5), QVariant(5.0));
    // One key, descending.
    ASSERT_TRUE(range->Sort(QStringLiteral("E13"), SortOrder::Descending, {}, SortOrder::Ascending, SortHeader::No));
    EXPECT_EQ(sheet->Value(13, 5), QVariant(12.0));
    EXPECT_EQ(sheet->Value(24, 5), QVariant(1.0));
    EXPECT_EQ(sheet->Value(13, 1), QVariant(6.0));
    EXPECT_EQ(sheet->Text(13, 7), QStringLiteral("g1")); // outside the block: stays
    // Keys are sheet columns even when the block does not start in column A.
    auto inner = sheet->Range(QStringLiteral("D13:G24"));
    ASSERT_TRUE(inner);
    ASSERT_TRUE(inner->Sort(QStringLiteral("E13"), SortOrder::Ascending, {}, SortOrder::Ascending, SortHeader::No));
    for (int i = 0; i < 12; ++i) EXPECT_EQ(sheet->Value(13 + i, 5), QVariant(double(i + 1))) << i;
    EXPECT_EQ(sheet->Value(13, 1), QVariant(6.0)) << "columns left of the block stay";
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, ShowWorkbookSequence) {
    const QString file = this->writeNameList();
    auto app = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    // No window yet.
    EXPECT_FALSE(app->MaximizeActiveWindow());
    EXPECT_FALSE(app->ActiveSheet());
    EXPECT_FALSE(app->SaveActiveWorkbook());
    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    auto sheet2 = wb->SelectWorksheet(QStringLiteral("sheet2"));
    auto sheet1 = wb->SelectWorksheet(QStringLiteral("sheet1"));
    ASSERT_TRUE(sheet1 && sheet2);
    EXPECT_TRUE(app->MaximizeActiveWindow());
    EXPECT_TRUE(app->SetVisible(true));
    EXPECT_TRUE(sheet2->Activate());
    EXPECT_EQ(app->ActiveSheet()->Name(), QStringLiteral("sheet2"));
    EXPECT_TRUE(sheet1->Activate());
    EXPECT_EQ(app->ActiveSheet()->Name(), QStringLiteral("sheet1"));
    EXPECT_TRUE(app->MaximizeActiveWindow());
    EXPECT_TRUE(app->ScrollActiveWindowUp(25));
    EXPECT_TRUE(app->DisplayAlerts());
    EXPECT_EQ(app->ActiveWorkbook()->FullName(), QFileInfo(file).absoluteFilePath());
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, QuitEndsOnlyItsOwnProgram) {
    const QString file = this->writeNameList();
    const QString userFile = this->writeNameList(QStringLiteral("user.xls"));
    const QString otherFile = this->writeNameList(QStringLiteral("other.xls"));
    const qint64 foreign = this->backend().startForeignOffice(userFile);
    ASSERT_GT(foreign, 0);
    auto other = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(other);
    auto otherWb = other->Open(otherFile, kPassword);
    ASSERT_TRUE(otherWb);

    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    const qint64 pid = app->ProcessId();
    ASSERT_GT(pid, 0);
    EXPECT_NE(pid, other->ProcessId());
    EXPECT_TRUE(this->suite().ownProcessIds().contains(pid));
    EXPECT_FALSE(this->suite().ownProcessIds().contains(foreign));

    EXPECT_TRUE(app->Quit());
    EXPECT_FALSE(this->backend().processRunning(pid));
    EXPECT_FALSE(this->suite().ownProcessIds().contains(pid));
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(sheet->Value(10, 4));
    EXPECT_FALSE(app->Quit());

    EXPECT_TRUE(this->backend().foreignOfficeHasDocumentOpen(foreign, userFile));
    EXPECT_TRUE(other->IsRunning());
    EXPECT_EQ(otherWb->SelectWorksheet(QStringLiteral("sheet1"))->Value(10, 4), QVariant(5.0));
    EXPECT_TRUE(other->Quit());
    this->backend().stopForeignOffice(foreign);
}

TYPED_TEST_P(SpreadsheetScenarios, AttachFindsOnlyLivePrivatePrograms) {
    const QString file = this->writeNameList();
    const qint64 foreign = this->backend().startForeignOffice(this->writeNameList(QStringLiteral("user.xls")));
    EXPECT_FALSE(this->suite().attachRunningSpreadsheet()) << "the user's office is never attached to";

    // A draw window opens the list and lets go of its handles without quitting.
    qint64 pid = 0;
    {
        std::shared_ptr<SpreadsheetApp> app;
        auto sheet = this->openSheet1(app, file);
        ASSERT_TRUE(sheet);
        ASSERT_TRUE(sheet->SetValue(13, 3, 42));
        pid = app->ProcessId();
    }
    auto attached = this->suite().attachRunningSpreadsheet();
    ASSERT_TRUE(attached);
    EXPECT_EQ(attached->ProcessId(), pid);
    EXPECT_TRUE(attached->SaveActiveWorkbook());
    EXPECT_TRUE(attached->Quit());
    EXPECT_FALSE(this->backend().processRunning(pid));
    EXPECT_FALSE(this->suite().attachRunningSpreadsheet());

    // The save went to the file.
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Value(13, 3), QVariant(42.0));
    this->backend().stopForeignOffice(foreign);
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, HandleKeptAfterQuitElsewhereStartsANewProgram) {
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    ASSERT_TRUE(this->openSheet1(app, file));
    const qint64 first = app->ProcessId();
    auto attached = this->suite().attachRunningSpreadsheet();
    ASSERT_TRUE(attached);
    EXPECT_TRUE(attached->Quit());
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(app->ActiveWorkbook());

    auto wb = app->Open(file, kPassword);
    ASSERT_TRUE(wb);
    EXPECT_TRUE(app->IsRunning());
    EXPECT_NE(app->ProcessId(), first);
    EXPECT_TRUE(app->DisplayAlerts()) << "a new program starts with alerts on";
    EXPECT_EQ(wb->SelectWorksheet(QStringLiteral("sheet1"))->Value(10, 4), QVariant(5.0));
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, KilledProgramFailsAndANewOneWorks) {
    const QString file = this->writeNameList();
    std::shared_ptr<SpreadsheetApp> app;
    auto sheet = this->openSheet1(app, file);
    ASSERT_TRUE(sheet);
    auto range = sheet->UsedRange();
    ASSERT_TRUE(range);
    const qint64 pid = app->ProcessId();
    this->backend().killProcess(pid);

    EXPECT_FALSE(sheet->Value(10, 4));
    EXPECT_FALSE(sheet->SetValue(13, 3, 1));
    EXPECT_FALSE(range->RowCount());
    EXPECT_FALSE(app->SaveActiveWorkbook());
    EXPECT_FALSE(app->SetVisible(true));
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(this->suite().ownProcessIds().contains(pid));
    EXPECT_FALSE(this->suite().attachRunningSpreadsheet());
    EXPECT_FALSE(app->Quit());

    auto fresh = this->suite().createSpreadsheetApp();
    ASSERT_TRUE(fresh);
    auto wb = fresh->Open(file, kPassword);
    ASSERT_TRUE(wb);
    EXPECT_EQ(wb->SelectWorksheet(QStringLiteral("sheet1"))->Value(10, 4), QVariant(5.0));
    EXPECT_TRUE(fresh->Quit());
}

TYPED_TEST_P(SpreadsheetScenarios, ProgramMissingGivesNoApplication) {
    auto suite = this->backend().suiteWithoutProgram();
    const auto before = suite->ownProcessIds();
    EXPECT_FALSE(suite->createSpreadsheetApp());
    EXPECT_FALSE(suite->createPresentationApp());
    EXPECT_FALSE(suite->attachRunningSpreadsheet());
    EXPECT_EQ(suite->ownProcessIds(), before);
}

REGISTER_TYPED_TEST_SUITE_P(SpreadsheetScenarios, OpenWithRightPasswordReadsCells,
                            WrongOrMissingPasswordGivesNoWorkbook, MissingFileOrSheetGivesNothing,
                            SaveKeepsThePassword, UsedRangeRowCount, CellsAsNumbersTextsAndEmpty,
                            AddressesOutsideTheSheetFail, BatchReadAndClearMatchCellByCell,
                            SortByGroupThenDrawNumber, SortRefusesKeysItCannotUse, ShowWorkbookSequence,
                            QuitEndsOnlyItsOwnProgram, AttachFindsOnlyLivePrivatePrograms,
                            HandleKeptAfterQuitElsewhereStartsANewProgram, KilledProgramFailsAndANewOneWorks,
                            ProgramMissingGivesNoApplication);
