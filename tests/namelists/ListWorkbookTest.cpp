#include "NameListFixture.h"

#include "namelists/ListWorkbook.h"
#include "namelists/PersonTable.h"
#include "office/SpreadsheetApp.h"

#include <QTemporaryDir>

using namespace namelists;
using namespace nltest;
using vexlo::office::FakeOfficeSuite;

namespace {

class ListWorkbookTest : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("name.xls")) const { return QDir(dir.path()).filePath(name); }
    void write(const SheetContent& s, const QString& name = QStringLiteral("name.xls")) {
        suite.world().writeWorkbookFile(path(name), WorkbookContent{{s}}, kListPassword);
    }
    SheetContent file(const QString& name = QStringLiteral("name.xls")) {
        return suite.world().readWorkbookFile(path(name), kListPassword)->sheets.value(0);
    }
    SheetContent open(ListWorkbook& wb) {
        auto* app = dynamic_cast<vexlo::office::FakeSpreadsheetApp*>(wb.app());
        return app && app->activeDocument() ? app->activeDocument()->content.sheets.value(0) : SheetContent{};
    }

    QTemporaryDir dir;
    FakeOfficeSuite suite;
};

TEST_F(ListWorkbookTest, CorrectingCountsInTheOrderOfTheRules) {
    struct Case {
        const char* what;
        const ListLayout* layout;
        QVariant d10, d11;
        int people;
        int total, participants;
        bool capMessage, participantsMessage;
        QVariant d10After, d11After;
    } cases[] = {
        {"list of 700", &ListLayout::nameList(), 700.0, 10.0, 30, 600, 10, true, false, 600.0, 10.0},
        {"700 and 650", &ListLayout::nameList(), 700.0, 650.0, 30, 600, 600, true, true, 600.0, 600.0},
        {"more taking part than listed", &ListLayout::nameList(), 30.0, 40.0, 30, 30, 30, false, true, 30.0, 30.0},
        {"plain", &ListLayout::nameList(), 30.0, 10.0, 30, 30, 10, false, false, 30.0, 10.0},
        // The used range runs from A1 to row 42: 42 rows, minus 1.
        {"text in D10", &ListLayout::nameList(), QStringLiteral("三十"), 10.0, 30, 41, 10, false, false,
         QStringLiteral("三十"), 10.0},
        {"empty D10", &ListLayout::nameList(), QVariant(), 10.0, 30, 0, 0, false, true, QVariant(), 0.0},
        {"half to even", &ListLayout::nameList(), 30.5, 10.5, 30, 30, 10, false, false, 30.5, 10.5},
        // The group list: D11 is the total and everybody takes part.
        {"group list of 650", &ListLayout::groupList(), 5.0, 650.0, 30, 600, 600, true, true, 5.0, 600.0},
        {"group list", &ListLayout::groupList(), 5.0, 24.0, 30, 24, 24, false, false, 5.0, 24.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(nameSheet(c.people, c.d10, c.d11));
        ListWorkbook wb(*c.layout, &suite, path());
        ASSERT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::Opened);
        ListCounts counts;
        const ListWorkbook::Corrections corrected = wb.validateCountsCorrecting(counts);
        EXPECT_EQ(counts.totalCount, c.total);
        EXPECT_EQ(counts.participantCount, c.participants);
        EXPECT_EQ(corrected.totalCapped, c.capMessage);
        EXPECT_EQ(corrected.participantsCorrected, c.participantsMessage);
        EXPECT_EQ(open(wb).cells.value({10, 4}), c.d10After);
        EXPECT_EQ(open(wb).cells.value({11, 4}), c.d11After);
        wb.quit();
    }
}

TEST_F(ListWorkbookTest, SilentCountsWriteNothingAndFallBackOnTheRangeTakenLast) {
    write(nameSheet(30, QStringLiteral("三十"), 45.0));
    ListWorkbook wb(ListLayout::nameList(), &suite, path());
    ASSERT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::Opened);
    ListCounts counts;
    wb.validateCountsSilent(counts); // no range taken yet
    EXPECT_EQ(counts.totalCount, 0);
    EXPECT_EQ(counts.participantCount, 0);

    wb.takeUsedRange();
    wb.validateCountsSilent(counts);
    EXPECT_EQ(counts.totalCount, 41);
    EXPECT_EQ(counts.participantCount, 41); // capped at the total, in memory only
    EXPECT_EQ(open(wb).cells.value({11, 4}), QVariant(45.0));
    // A block taken in its place counts the same way: rows 13 to 42, minus 1.
    ASSERT_TRUE(wb.takeListRange(QStringLiteral("A13:G42")));
    wb.validateCountsSilent(counts);
    EXPECT_EQ(counts.totalCount, 29);
    wb.takeUsedRange();

    // After the program has gone the range no longer answers, and the reads fail too.
    wb.quit();
    wb.validateCountsSilent(counts);
    EXPECT_EQ(counts.totalCount, 0);
    EXPECT_EQ(counts.participantCount, 0);
    EXPECT_EQ(file().cells.value({11, 4}), QVariant(45.0));
    EXPECT_EQ(suite.world().workbookFile(path())->saves, 0);

    // Above 600 in the cell: capped in memory, the cell untouched.
    write(nameSheet(30, 700.0, 650.0));
    ASSERT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::Opened);
    wb.validateCountsSilent(counts);
    EXPECT_EQ(counts.totalCount, 600);
    EXPECT_EQ(counts.participantCount, 600);
    EXPECT_EQ(open(wb).cells.value({10, 4}), QVariant(700.0));
    wb.quit();
}

TEST_F(ListWorkbookTest, LoadingReadsTheTableAsTextAndEmptiesOnlyItsDrawNumbers) {
    SheetContent s = nameSheet(5, 5.0, 5.0, [](int k) { return k == 2 ? QStringLiteral("  李 四 ") : QStringLiteral("人%1").arg(k); });
    s.set(14, 1, QStringLiteral("A-02"));
    s.set(15, 2, 3.25); // a number as a name reads as its decimal text
    for (int row = 13; row <= 20; ++row)
        s.set(row, 3, double(row));
    write(s);
    ListWorkbook wb(ListLayout::nameList(), &suite, path());
    ASSERT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::Opened);
    PersonTable people;
    people.at(6)->available = true; // left over from before: not part of this list
    wb.loadNames(people, 5);
    EXPECT_EQ(people.at(1)->listNumber, QStringLiteral("1"));
    EXPECT_EQ(people.at(2)->listNumber, QStringLiteral("A-02"));
    EXPECT_EQ(people.at(2)->personName, QStringLiteral("  李 四 ")); // blanks kept; trimmed when shown
    EXPECT_EQ(people.at(3)->personName, QStringLiteral("3.25"));
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(people.at(k)->available) << k;
    EXPECT_FALSE(people.at(6)->available);
    const SheetContent after = open(wb);
    for (int row = 13; row <= 17; ++row)
        EXPECT_FALSE(after.cells.contains({row, 3})) << row;
    for (int row = 18; row <= 20; ++row)
        EXPECT_EQ(after.cells.value({row, 3}), QVariant(double(row))) << row;

    EXPECT_TRUE(wb.recordDraw(4, 1));
    EXPECT_EQ(open(wb).cells.value({16, 3}), QVariant(1.0)); // a number, not a text
    EXPECT_FALSE(wb.recordDraw(0, 2));
    EXPECT_FALSE(wb.recordDraw(601, 2));
    wb.quit();
}

TEST_F(ListWorkbookTest, ClearingRulesTouchOnlyTheirRowsAndColumns) {
    struct Case {
        const ListLayout* layout;
        QList<int> cleared;
    } cases[] = {{&ListLayout::nameList(), {3}}, {&ListLayout::groupList(), {5, 6}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout->fileName.toStdString());
        SheetContent s = nameSheet(40, 40.0, 40.0);
        for (int row = 12; row <= 613; ++row)
            for (int col = 3; col <= 7; ++col)
                s.set(row, col, double(row * 10 + col));
        s.set(5, 6, QStringLiteral("F5"));
        s.set(5, 7, QStringLiteral("G5"));
        write(s, c.layout->fileName);
        ListWorkbook wb(*c.layout, &suite, path(c.layout->fileName));
        ASSERT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::Opened);

        wb.clearOnAbandon(20);
        SheetContent after = open(wb);
        EXPECT_FALSE(after.cells.contains({13, c.layout->drawColumn}));
        EXPECT_FALSE(after.cells.contains({32, c.layout->drawColumn}));
        EXPECT_TRUE(after.cells.contains({33, c.layout->drawColumn}));

        wb.clearOldResults();
        wb.emptyStatusCell();
        after = open(wb);
        for (int col = 3; col <= 7; ++col) {
            const bool clears = c.cleared.contains(col);
            EXPECT_TRUE(after.cells.contains({12, col})) << col;
            EXPECT_EQ(after.cells.contains({13, col}), !clears) << col;
            EXPECT_EQ(after.cells.contains({300, col}), !clears) << col;
            EXPECT_EQ(after.cells.contains({612, col}), !clears) << col;
            EXPECT_TRUE(after.cells.contains({613, col})) << col;
        }
        EXPECT_EQ(after.cells.contains({5, 6}), c.layout->statusCell.column != 6);
        EXPECT_EQ(after.cells.contains({5, 7}), c.layout->statusCell.column != 7);
        // Nothing reaches the file before a save.
        EXPECT_TRUE(file(c.layout->fileName).cells.contains({13, c.layout->drawColumn}));
        wb.saveAndQuit();
        EXPECT_FALSE(file(c.layout->fileName).cells.contains({13, c.layout->drawColumn}));
        EXPECT_FALSE(wb.programRunning());
    }
}

TEST_F(ListWorkbookTest, EachWayOfFailingToOpenIsTold) {
    write(nameSheet(5, 5.0, 5.0));
    {
        ListWorkbook wb(ListLayout::nameList(), nullptr, path());
        EXPECT_EQ(wb.openListWorkbook(), ListWorkbook::OpenResult::ProgramMissing);
        ListCounts counts{3, 2};
        wb.validateCountsSilent(counts);
        EXPECT_EQ(counts.totalCount, 0);
        PersonTable people;
        wb.loadNames(people, 5); // nothing to read from: nobody is listed
        EXPECT_FALSE(people.anyAvailable(1, 5));
    }
    struct Case {
        const char* what;
        std::function<void(vexlo::office::FakeFaults&)> fault;
        ListWorkbook::OpenResult result;
    } cases[] = {
        {"no program", [](auto& f) { f.programMissing = true; }, ListWorkbook::OpenResult::ProgramMissing},
        {"no file", [](auto& f) { f.fileMissing = true; }, ListWorkbook::OpenResult::OpenFailed},
        {"wrong password", [](auto& f) { f.wrongPassword = true; }, ListWorkbook::OpenResult::OpenFailed},
        {"no sheet1", [](auto& f) { f.sheetMissing = true; }, ListWorkbook::OpenResult::SheetMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        suite.world().faults = {};
        c.fault(suite.world().faults);
        ListWorkbook wb(ListLayout::nameList(), &suite, path());
        EXPECT_EQ(wb.openListWorkbook(), c.result);
        wb.quit();
    }
}

} // namespace
