// A whole round of the name-list draw against real LibreOffice, on a copy of the bundled
// name.xls, read back from the file on disk afterwards.

#include "AppHarness.h"
#include "ChildProcesses.h"

#include "core/FormTimer.h"
#include "namelists/ListDrawTexts.h"
#include "namelists/ListDrawWindow.h"
#include "namelists/ListLayout.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

using namespace namelists;
using namespace vexlo::office;

namespace {

// With VEXLO_SCREENSHOTS set to a folder, the screen is also saved there at two moments,
// for a person to look at; the office is given a moment to paint first.
void screenshot(const char* name) {
    const QString folder = qEnvironmentVariable("VEXLO_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(folder).filePath(QLatin1String(name)));
}

class ListDrawLibreOfficeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.start());
        h.ctx().office = &suite;
        path = QDir(h.folder()).filePath(QStringLiteral("name.xls"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VEXLO_BUNDLED_NAME_XLS), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    void TearDown() override {
        h.ctx().forms.unload(FormId::Form4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        suite.endApplications();
    }
    static QPushButton* button(Form& w, const char* name) { return w.control<QPushButton>(QLatin1String(name)); }
    static QString text(Form& w, const char* name) { return w.control<QLineEdit>(QLatin1String(name))->text(); }

    std::vector<bool> busyTold;
    LibreOfficeSuite suite{[this] {
        LibreOfficeOptions o;
        o.busy = [this](bool busy) { busyTold.push_back(busy); };
        return o;
    }()};
    AppHarness h;
    QString path;
};

TEST_F(ListDrawLibreOfficeTest, AWholeRoundLeavesTheDrawNumbersOfExactlyTheDrawnPeopleInTheFile) {
    Form* f = h.ctx().forms.ref(FormId::Form4);
    ASSERT_TRUE(f);
    auto& w = *static_cast<ListDrawWindow*>(f);
    w.show();

    // The list opens in Calc for checking; the user lets 12 of the 40 take part.
    button(w, "Command2")->click();
    ASSERT_TRUE(h.fake.messages.shown.empty()) << h.fake.messages.shown[0].text.toStdString();
    auto* sheet = w.session().workbook.worksheet();
    ASSERT_TRUE(sheet);
    const int listed = sheet->Value(10, 4).value_or(QVariant()).toInt();
    ASSERT_EQ(listed, 40);
    ASSERT_TRUE(sheet->SetValue(11, 4, 12.0));
    // The compact window glides to the right edge beside the workbook.
    for (int i = 0; i < 500 && w.timer(QStringLiteral("Timer2"))->enabled(); ++i)
        w.timer(QStringLiteral("Timer2"))->tick();
    EXPECT_EQ(w.Left(), w.screenWidth() - 315 - 5595);
    screenshot("compact-beside-workbook.png");
    button(w, "Command5")->click();
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());

    // Prepared: the list is read from the file in a hidden Calc and rolls.
    button(w, "Command3")->click();
    ASSERT_TRUE(h.fake.messages.shown.empty()) << h.fake.messages.shown[0].text.toStdString();
    ASSERT_TRUE(w.timer(QStringLiteral("Timer1"))->enabled());
    for (int i = 0; i < 10; ++i)
        w.timer(QStringLiteral("Timer1"))->tick();
    EXPECT_NE(text(w, "Text2"), QStringLiteral("?"));

    QStringList drawn;
    QStringList names;
    for (int i = 0; i < 50 && button(w, "Command4")->isEnabled(); ++i) {
        button(w, "Command4")->click();
        drawn << text(w, "Text1");
        names << text(w, "Text2");
        if (drawn.size() == 3)
            screenshot("drawn-person.png");
        if (button(w, "Command3")->isEnabled())
            button(w, "Command3")->click();
    }
    ASSERT_EQ(drawn.size(), 12);
    ASSERT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("\r") + listDrawTexts::roundOver + QStringLiteral("\r\n"));
    EXPECT_TRUE(suite.ownProcessIds().isEmpty()); // saved and ended

    // Read back from disk with the password: draw numbers beside exactly those drawn.
    auto reader = suite.createSpreadsheetApp();
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->Open(path, QString())); // still protected
    auto book = reader->Open(path, kListPassword);
    ASSERT_TRUE(book);
    auto file = book->SelectWorksheet(kListSheet);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Value(11, 4), QVariant(12.0));
    EXPECT_EQ(file->Value(10, 4), QVariant(40.0));
    EXPECT_EQ(file->Text(5, 6), QString()); // the status cell was emptied
    int numbered = 0;
    for (int k = 1; k <= 40; ++k) {
        const QString number = file->Text(12 + k, 1).value_or(QString()).trimmed();
        const QString name = file->Text(12 + k, 2).value_or(QString()).trimmed();
        const std::optional<QVariant> c = file->Value(12 + k, 3);
        ASSERT_TRUE(c.has_value());
        const qsizetype order = drawn.indexOf(number);
        if (order < 0) {
            EXPECT_TRUE(c->isNull()) << "row " << 12 + k << " holds " << c->toString().toStdString();
            continue;
        }
        ++numbered;
        EXPECT_EQ(*c, QVariant(double(order + 1))) << "row " << 12 + k;
        EXPECT_EQ(names[order], name) << "row " << 12 + k;
    }
    EXPECT_EQ(numbered, 12);
    reader->Quit();
}

// An office started ahead that stands still (a loaded machine, here SIGSTOP) while the
// list is opened: the windows keep running, the pointer says why, and once the office
// goes on the list opens in it.
TEST_F(ListDrawLibreOfficeTest, WaitingForAnOfficeStartedAheadLeavesTheWindowsRunning) {
    const QList<qint64> before = testsupport::childrenNamed("soffice.bin");
    auto& w = *static_cast<ListDrawWindow*>(h.ctx().forms.ref(FormId::Form4));
    w.show();
    QList<qint64> warm;
    QElapsedTimer started;
    started.start();
    while (warm.isEmpty() && started.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        for (qint64 pid : testsupport::childrenNamed("soffice.bin"))
            if (!before.contains(pid))
                warm.append(pid);
    }
    ASSERT_EQ(warm.size(), 1) << "the window starts a spreadsheet program ahead";
    ::kill(pid_t(warm[0]), SIGSTOP);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(50);
    QTimer::singleShot(2000, [pid = warm[0]] { ::kill(pid_t(pid), SIGCONT); });

    QElapsedTimer clock;
    clock.start();
    button(w, "Command2")->click(); // 编辑名单: the list opens in that office
    const qint64 waited = clock.elapsed();
    ::kill(pid_t(warm[0]), SIGCONT);
    EXPECT_GE(ticks, 20) << "the event loop ran during the " << waited << " ms the office stood still";
    EXPECT_EQ(busyTold, (std::vector<bool>{true, false})) << "a busy pointer while it waited";
    ASSERT_TRUE(h.fake.messages.shown.empty()) << h.fake.messages.shown[0].text.toStdString();
    auto* sheet = w.session().workbook.worksheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Value(10, 4).value_or(QVariant()).toInt(), 40);
    button(w, "Command5")->click();
}

} // namespace
