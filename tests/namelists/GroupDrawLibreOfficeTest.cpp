// A whole automatic round of the group draw against real LibreOffice on a copy of the
// bundled name1.xls, then the sorted view, then the file on disk read back unchanged.

#include "AppHarness.h"

#include "core/FormTimer.h"
#include "namelists/GroupDrawWindow.h"
#include "namelists/ListLayout.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace namelists;
using namespace vexlo::office;

namespace {

class GroupDrawLibreOfficeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.start());
        h.ctx().office = &suite;
        path = QDir(h.folder()).filePath(QStringLiteral("name1.xls"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VEXLO_BUNDLED_NAME1_XLS), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    void TearDown() override {
        h.ctx().forms.unload(FormId::Form9);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        suite.endApplications();
    }
    static QPushButton* button(Form& w, const char* name) { return w.control<QPushButton>(QLatin1String(name)); }
    // Columns A to F of persons 1 ... total, as texts.
    static QList<QStringList> rows(Worksheet& sheet, int total) {
        QList<QStringList> out;
        for (int k = 1; k <= total; ++k) {
            QStringList row;
            for (int c = 1; c <= 6; ++c)
                row << sheet.Text(12 + k, c).value_or(QStringLiteral("<unread>")).trimmed();
            out << row;
        }
        return out;
    }

    LibreOfficeSuite suite;
    AppHarness h;
    QString path;
};

TEST_F(GroupDrawLibreOfficeTest, AnAutomaticRoundThenTheSortedViewLeavesTheFileAsDrawn) {
    auto& w = *static_cast<GroupDrawWindow*>(h.ctx().forms.ref(FormId::Form9));
    w.show();
    button(w, "Command2")->click();
    ASSERT_TRUE(h.fake.messages.shown.empty()) << h.fake.messages.shown[0].text.toStdString();
    button(w, "Command5")->click();
    button(w, "Command3")->click();
    ASSERT_TRUE(h.fake.messages.shown.empty()) << h.fake.messages.shown[0].text.toStdString();
    const int total = w.session().counts.totalCount;
    ASSERT_GT(total, 1);
    // The end-of-round pause counts Timer5 ticks; they come on every pass of the loop.
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, [&w] {
        if (w.timer(QStringLiteral("Timer5"))->enabled())
            w.timer(QStringLiteral("Timer5"))->tick();
    });
    pump.start(0);
    button(w, "Command6")->click();
    pump.stop();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());

    // The results viewed and confirmed (saved), then read back as the draw left them.
    button(w, "Command2")->click();
    button(w, "Command5")->click();
    ASSERT_TRUE(button(w, "Command7")->isEnabled());
    auto reader = suite.createSpreadsheetApp();
    ASSERT_TRUE(reader);
    auto book = reader->Open(path, kListPassword);
    ASSERT_TRUE(book);
    auto sheet = book->SelectWorksheet(kListSheet);
    ASSERT_TRUE(sheet);
    const QList<QStringList> drawn = rows(*sheet, total);
    reader->Quit();
    QSet<QString> numbers;
    for (const QStringList& r : drawn)
        numbers.insert(r[4]);
    ASSERT_EQ(numbers.size(), total); // everybody has a draw number of their own

    // The sorted view in Calc: groups in blocks, draw numbers rising, ranks from 1.
    button(w, "Command7")->click();
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    auto* view = w.session().workbook.worksheet();
    ASSERT_TRUE(view);
    const QList<QStringList> sorted = rows(*view, total);
    QStringList groups;
    for (int i = 0; i < total; ++i) {
        const QStringList& r = sorted[i];
        if (i == 0 || r[3] != sorted[i - 1][3]) {
            ASSERT_FALSE(groups.contains(r[3])) << "row " << 13 + i;
            groups << r[3];
            EXPECT_EQ(r[5], QStringLiteral("1")) << "row " << 13 + i;
        } else {
            EXPECT_GT(r[4].toInt(), sorted[i - 1][4].toInt()) << "row " << 13 + i;
            EXPECT_EQ(r[5].toInt(), sorted[i - 1][5].toInt() + 1) << "row " << 13 + i;
        }
    }
    EXPECT_GT(groups.size(), 1);
    button(w, "Command5")->click();
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());

    // On disk: the order of the draw, no ranks.
    auto again = suite.createSpreadsheetApp();
    ASSERT_TRUE(again);
    auto book2 = again->Open(path, kListPassword);
    ASSERT_TRUE(book2);
    auto file = book2->SelectWorksheet(kListSheet);
    ASSERT_TRUE(file);
    EXPECT_EQ(rows(*file, total), drawn);
    again->Quit();
}

} // namespace
