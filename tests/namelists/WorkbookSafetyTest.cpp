// The teacher's own workbooks as they come, against real LibreOffice: every hostile list
// is either drawn from and written back as it was found (format, protection), or refused
// with a message that says why, leaving the file on disk byte for byte as it was. Nothing
// hangs, the window stays usable and no office of ours is left behind.

#include "AppHarness.h"
#include "NameListFixture.h"

#include "namelists/ListDrawWindow.h"
#include "namelists/ListDrawTexts.h"
#include "namelists/ListLayout.h"
#include "namelists/ListTexts.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace namelists;
using namespace vexlo::office;

namespace {

// ResultsViewedThenEnded: after the round, 抽签结果 opens it in Calc, and the program is
// ended (a logout) while it is looked at.
enum class Prep {
    None,
    ReadOnlyFile,
    ReadOnlyFolder,
    OpenElsewhere,
    StaleLock,
    OfficeKilledBeforeSave,
    ResultsViewedThenEnded
};
enum class Kept { Nothing, Password, NoPassword, ZipFormat };
// Untouched: byte for byte as the teacher left it, through the check of the list too.
// RoundRefused: the check saved the confirmed list, the round then wrote nothing.
enum class Change { Untouched, RoundRefused, Written };

struct Row {
    const char* list;   // folder of hostile_workbooks.py
    Prep setup;
    QString message;    // the last message the user sees; empty: none at all
    Change change;      // what becomes of the file on disk
    int drawn;          // people drawn by hand
    Kept kept;          // what a written file keeps
};

const QString kFile = QStringLiteral("name.xls");
const QString openFailed = listTexts::openFailed(kFile);
const QString noPeople = listTexts::noPeople(QStringLiteral("编辑名单"), QStringLiteral("D10"));

const Row kRows[] = {
    {"plain", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"wrong_password", Prep::None, openFailed, Change::Untouched, 0, Kept::Nothing},
    {"no_password", Prep::None, {}, Change::Written, 5, Kept::NoPassword},
    {"xlsx_content", Prep::None, {}, Change::Written, 5, Kept::ZipFormat},
    {"ods_content", Prep::None, {}, Change::Written, 5, Kept::ZipFormat},
    {"truncated", Prep::None, openFailed, Change::Untouched, 0, Kept::Nothing},
    {"empty_file", Prep::None, openFailed, Change::Untouched, 0, Kept::Nothing},
    {"random_bytes", Prep::None, openFailed, Change::Untouched, 0, Kept::Nothing},
    {"folder_named_xls", Prep::None, openFailed, Change::Untouched, 0, Kept::Nothing},
    {"no_sheet1", Prep::None, listTexts::sheetMissing(kFile, kListSheet), Change::Untouched, 0, Kept::Nothing},
    {"other_sheet_active", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"text_count", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"negative_count", Prep::None, noPeople, Change::Written, 0, Kept::Password}, // the announced correction is kept
    {"zero_count", Prep::None, noPeople, Change::RoundRefused, 0, Kept::Nothing},
    {"count_700", Prep::None, {}, Change::Written, 3, Kept::Password},
    {"formula_count", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"error_count", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"rows_10000", Prep::None, {}, Change::Written, 3, Kept::Password},
    {"empty_names", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"long_names", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"control_names", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"merged_cells", Prep::None, {}, Change::Written, 5, Kept::Password},
    {"plain", Prep::ReadOnlyFile, listTexts::refused(kFile, FileProblem::ReadOnlyFile), Change::Untouched, 0, Kept::Nothing},
    {"plain", Prep::ReadOnlyFolder, listTexts::refused(kFile, FileProblem::ReadOnlyFolder), Change::Untouched, 0,
     Kept::Nothing},
    {"plain", Prep::OpenElsewhere, listTexts::refused(kFile, FileProblem::InUse), Change::Untouched, 0, Kept::Nothing},
    {"plain", Prep::StaleLock, {}, Change::Written, 5, Kept::Password},
    {"plain", Prep::OfficeKilledBeforeSave, listTexts::resultsNotSaved(kFile, FileProblem::ProgramStopped), Change::RoundRefused,
     5, Kept::Nothing},
    {"plain", Prep::ResultsViewedThenEnded, {}, Change::Written, 5, Kept::Password},
};

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<not a readable file>");
}

QString hostName() {
    char name[256] = {};
    ::gethostname(name, sizeof(name) - 1);
    return QString::fromLocal8Bit(name);
}

bool chattr(const char* flag, const QString& path) {
    return QProcess::execute(QStringLiteral("chattr"), {QLatin1String(flag), path}) == 0;
}

// A user's own LibreOffice, separate from ours, with the workbook open (its lock beside it).
class UserOffice {
public:
    explicit UserOffice(const QString& path) {
        const QString script = QStringLiteral(
            "import sys; sys.path.insert(0, %1)\n"
            "from office import Office\n"
            "with Office() as o:\n"
            "    d = o.load(sys.argv[1], Password='708klm')\n"
            "    print('ready', flush=True)\n"
            "    sys.stdin.read()\n"
            "    d.close(True)\n")
                                   .arg(QStringLiteral("'" VEXLO_ASSETS_SRC "'"));
        m_process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
        m_ready = m_process.waitForReadyRead(120000) && m_process.readAll().contains("ready");
    }
    ~UserOffice() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(60000))
            m_process.kill();
    }
    bool ready() const { return m_ready; }

private:
    QProcess m_process;
    bool m_ready = false;
};

class WorkbookSafety : public ::testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() {
        s_lists = new QTemporaryDir;
        ASSERT_EQ(QProcess::execute(QStringLiteral("/usr/bin/python3"),
                                    {QStringLiteral(VEXLO_HOSTILE_WORKBOOKS), s_lists->path()}),
                  0);
    }
    static void TearDownTestSuite() {
        delete s_lists;
        s_lists = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(h.start());
        h.ctx().office = &suite;
        path = QDir(h.folder()).filePath(kFile);
        QFile::remove(path);
        const QString source = QDir(s_lists->path()).filePath(QLatin1String(GetParam().list) + u'/' + kFile);
        if (QFileInfo(source).isDir())
            ASSERT_TRUE(QDir().mkpath(path));
        else
            ASSERT_TRUE(QFile::copy(source, path));
    }
    void TearDown() override {
        chattr("-i", path);
        chattr("-i", h.folder());
        h.ctx().forms.unload(FormId::Form4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        suite.endApplications();
    }
    static QPushButton* button(Form& w, const char* name) { return w.control<QPushButton>(QLatin1String(name)); }

    // The list opened for checking and confirmed, as the user always does first.
    void checkTheList(ListDrawWindow& w) {
        button(w, "Command2")->click();
        button(w, "Command5")->click();
    }
    // Prepare and draw by hand to the end of the round, as far as the list lets the user;
    // our office killed just before the last draw where the row asks for it.
    int drawARound(ListDrawWindow& w, Prep setup) {
        nltest::TimerPump pause(w, QStringLiteral("Timer5")); // the end-of-round wait of long lists
        button(w, "Command3")->click();
        int drawn = 0;
        for (int i = 0; i < 700 && button(w, "Command4")->isEnabled(); ++i) {
            if (setup == Prep::OfficeKilledBeforeSave && drawn == w.session().counts.participantCount - 1)
                for (qint64 pid : suite.ownProcessIds())
                    ::kill(pid_t(pid), SIGKILL);
            button(w, "Command4")->click();
            ++drawn;
            if (button(w, "Command3")->isEnabled())
                button(w, "Command3")->click();
        }
        return drawn;
    }

    static QTemporaryDir* s_lists;
    LibreOfficeSuite suite;
    AppHarness h;
    QString path;
};

QTemporaryDir* WorkbookSafety::s_lists = nullptr;

TEST_P(WorkbookSafety, IsDrawnFromAndKeptAsFoundOrRefusedUnchanged) {
    const Row& row = GetParam();
    std::unique_ptr<UserOffice> elsewhere;
    if (row.setup == Prep::ReadOnlyFile)
        ASSERT_TRUE(chattr("+i", path)) << "needs chattr (root on ext4)";
    if (row.setup == Prep::ReadOnlyFolder)
        ASSERT_TRUE(chattr("+i", h.folder())) << "needs chattr (root on ext4)";
    if (row.setup == Prep::OpenElsewhere) {
        elsewhere = std::make_unique<UserOffice>(path);
        ASSERT_TRUE(elsewhere->ready());
    }
    const QString lock = QDir(h.folder()).filePath(QStringLiteral(".~lock.name.xls#"));
    if (row.setup == Prep::StaleLock) {
        QFile f(lock);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral(",teacher,%1,08.12.2026 06:58,file:///tmp/no-such-office-profile;")
                    .arg(hostName())
                    .toUtf8());
    }
    const QByteArray initial = bytesOf(path);
    QElapsedTimer clock;
    clock.start();
    auto& w = *static_cast<ListDrawWindow*>(h.ctx().forms.ref(FormId::Form4));
    w.show();
    checkTheList(w);
    // What the confirmed check saved is the user's; from here on a refused step writes nothing.
    const QByteArray before = bytesOf(path);
    const int drawn = drawARound(w, row.setup);
    const auto& shown = h.fake.messages.shown;
    if (row.message.isEmpty()) {
        // The round's own end, and the correction notices the Part gives, but nothing else.
        for (const auto& m : shown)
            EXPECT_TRUE(m.text == listTexts::messageBody(listDrawTexts::roundOver) ||
                        m.text == listTexts::messageBody(listTexts::totalCapped))
                << m.text.toStdString();
    } else {
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().text.toStdString(), listTexts::messageBody(row.message).toStdString());
    }
    EXPECT_EQ(drawn, row.drawn);
    if (row.setup == Prep::ResultsViewedThenEnded) {
        button(w, "Command2")->click();
        ASSERT_TRUE(w.session().workbookHeld) << "the results are open in Calc";
        h.ctx().forms.unloadAllAndEnd(); // where a logout's SIGTERM ends
    } else {
        // The window stays usable: its way back works and leaves no office of ours.
        ASSERT_TRUE(button(w, "Command1")->isEnabled());
        button(w, "Command1")->click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form4));
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    EXPECT_LT(clock.elapsed(), 120000) << "bounded: nothing waits on the office for ever";
    elsewhere.reset();

    const QByteArray after = bytesOf(path);
    if (row.change == Change::Untouched)
        EXPECT_TRUE(after == initial) << "the file on disk is byte for byte as the teacher left it";
    else if (row.change == Change::RoundRefused)
        EXPECT_TRUE(after == before) << "nothing was written after the confirmed check";
    else
        EXPECT_FALSE(after == before) << "the round was written";
    if (row.setup == Prep::StaleLock)
        EXPECT_FALSE(QFileInfo::exists(lock)) << "the dead office's lock is cleared";
    if (row.kept == Kept::Nothing)
        return;
    auto reader = suite.createSpreadsheetApp();
    ASSERT_TRUE(reader);
    const bool opensPlain = reader->Open(path, QString()) != nullptr;
    EXPECT_EQ(opensPlain, row.kept != Kept::Password) << "protection as found";
    if (row.kept == Kept::ZipFormat)
        EXPECT_TRUE(after.startsWith("PK")) << "still the format it was read in";
    auto book = reader->Open(path, kListPassword);
    ASSERT_TRUE(book);
    auto sheet = book->SelectWorksheet(kListSheet);
    ASSERT_TRUE(sheet);
    int numbered = 0;
    for (int r = 13; r <= 12 + 600; ++r)
        numbered += sheet->Value(r, 3).value_or(QVariant()).toDouble() > 0;
    EXPECT_EQ(numbered, row.drawn) << "draw numbers of exactly the people drawn";
    reader->Quit();
}

INSTANTIATE_TEST_SUITE_P(HostileLists, WorkbookSafety, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return QString::number(info.index).toStdString() + "_" + info.param.list;
                         });

} // namespace
