#include "NameListFixture.h"

#include "namelists/ListDrawTexts.h"
#include "namelists/ListTexts.h"
#include "namelists/ShownText.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"

#include <set>

using namespace namelists;
using namespace nltest;

namespace {

class ListDrawWindowTest : public NameListTest {
protected:
    // Draws by hand until the round is over; the list numbers shown, in drawing order.
    QStringList drawRoundByHand(ListDrawWindow& w, int maxDraws = 700) {
        QStringList drawn;
        for (int i = 0; i < maxDraws && button(w, "Command4")->isEnabled(); ++i) {
            button(w, "Command4")->click();
            drawn << text(w, "Text1");
            if (button(w, "Command3")->isEnabled())
                button(w, "Command3")->click();
        }
        return drawn;
    }
    // Column C of persons 1 ... people in the file: draw number by list number.
    QMap<QString, int> fileDrawNumbers(int people) {
        QMap<QString, int> numbers;
        const SheetContent s = fileSheet();
        for (int k = 1; k <= people; ++k) {
            const QVariant c = s.cells.value({12 + k, 3});
            if (c.isValid())
                numbers.insert(s.cells.value({12 + k, 1}).toString(), c.toInt());
        }
        return numbers;
    }
    int roundOverMessages() const { return int(messageTexts().count(body(listDrawTexts::roundOver))); }
};

TEST_F(ListDrawWindowTest, OpensWithEveryControlAsDesigned) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    EXPECT_EQ(w.Width(), 9885);
    EXPECT_EQ(w.Height(), 7590);
    EXPECT_EQ(w.Left(), (w.screenWidth() - 9885) / 2);
    EXPECT_EQ(w.Top(), (w.screenHeight() - 7590) / 2);
    const std::pair<const char*, const char*> captions[] = {
        {"Label1", "原编号:"},
        {"Label2", "抽签者:"},
        {"Label5", "抽签号:"},
        {"Text1", "?"},
        {"Text2", "?"},
        {"Text3", "?"},
        {"Label3", "随机抽签数据表中总人数：？人，本次参加抽签的人数：?人"},
        {"Label4", "请在修改名单或查阅抽签结果后："},
        {"Label6", "1.核对表中的人数是否有误"},
        {"Label7", "2.点击以下按钮关闭 EXCEL"},
        {"Label8", "正在进行自动抽签，请稍候…，…"},
        {"Label10", "请稍候…"},
        {"Label9", "正在进行数据处理"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(text(w, name), QString::fromUtf8(caption)) << name;
    const std::tuple<const char*, const char*, bool> buttons[] = {
        {"Command2", "编辑名单", true}, {"Command3", "抽签准备", false}, {"Command4", "手工抽签", false},
        {"Command6", "自动抽签", false}, {"Command1", "返\u3000回", true}, {"Command5", "数据已确认，下一步", true},
    };
    for (const auto& [name, caption, enabled] : buttons) {
        EXPECT_EQ(button(w, name)->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(button(w, name)->isEnabled(), enabled) << name;
    }
    for (const char* frame : {"Frame1", "Frame2"})
        EXPECT_TRUE(shown(w, frame)) << frame;
    for (const char* frame : {"Frame3", "Frame4", "Frame5"})
        EXPECT_FALSE(shown(w, frame)) << frame;
    // The buttons stand in one row along the bottom, Command2 at the left, inside the
    // full window and outside the compact one.
    int left = -1;
    for (const char* name : {"Command2", "Command3", "Command4", "Command6", "Command1"}) {
        const QRect g = button(w, name)->geometry();
        EXPECT_GT(g.x(), left) << name;
        EXPECT_EQ(g.y(), button(w, "Command2")->geometry().y()) << name;
        EXPECT_LE(g.right() * 15, 9885) << name;
        EXPECT_GT(g.y() * 15, 4095) << name;
        left = g.x();
    }
    EXPECT_LE(w.controlWidget(QStringLiteral("Frame3"))->geometry().right() * 15, 5595);
    EXPECT_EQ(w.focusWidget(), button(w, "Command2"));
    EXPECT_TRUE(w.timer(QStringLiteral("Timer3"))->enabled());
    EXPECT_EQ(h.fake.placement.topmostCalls.back(), &w);
    for (const char* t : {"Timer1", "Timer2", "Timer4", "Timer5"})
        EXPECT_FALSE(w.timer(QLatin1String(t))->enabled()) << t;
    const std::tuple<const char*, int> intervals[] = {
        {"Timer1", 15}, {"Timer2", 10}, {"Timer3", 100}, {"Timer4", 100}, {"Timer5", 100}};
    for (const auto& [t, ms] : intervals)
        EXPECT_EQ(w.timer(QLatin1String(t))->interval(), ms) << t;
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(ListDrawWindowTest, OpeningSavesAndQuitsASpreadsheetProgramLeftRunning) {
    writeList(nameSheet(30, 30.0, 10.0));
    auto left = suite.createSpreadsheetApp();
    auto sheet = left->Open(listPath(), kListPassword)->SelectWorksheet(QStringLiteral("sheet1"));
    sheet->SetValue(13, 2, QStringLiteral("改过的名字"));
    open();
    EXPECT_FALSE(left->IsRunning());
    EXPECT_EQ(fileCell(13, 2), QVariant(QStringLiteral("改过的名字")));
    EXPECT_EQ(saves(), 1);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    // Then, and only then, the next preparation's program starts ahead; the window's close
    // ends it if nobody took it.
    EXPECT_EQ(suite.world().warmUps, QList{vexlo::office::OfficeKind::Spreadsheet});
    const int dropped = suite.world().warmDrops;
    h.ctx().forms.unload(FormId::Form4);
    EXPECT_EQ(suite.world().warmDrops, dropped + 1);
}

TEST_F(ListDrawWindowTest, EditingShowsTheListClearsOldResultsAndConfirmingSavesIt) {
    SheetContent s = nameSheet(30, 30.0, 10.0);
    for (int row = 13; row <= 613; ++row)
        s.set(row, 3, double(row));
    writeList(s);
    ListDrawWindow& w = open();
    button(w, "Command2")->click();

    EXPECT_EQ(w.Width(), 5595);
    EXPECT_EQ(w.Height(), 4095);
    EXPECT_FALSE(shown(w, "Frame1"));
    EXPECT_TRUE(shown(w, "Frame3"));
    EXPECT_FALSE(button(w, "Command2")->isEnabled()); // once per opening
    EXPECT_TRUE(button(w, "Command3")->isEnabled());
    EXPECT_TRUE(button(w, "Command5")->isEnabled());
    EXPECT_EQ(button(w, "Command5")->text(), QStringLiteral("数据已确认，下一步"));
    EXPECT_EQ(w.focusWidget(), button(w, "Command5"));
    EXPECT_EQ(w.Left(), 0);
    EXPECT_TRUE(w.session().workbookHeld);

    // The workbook is on screen, maximised, old results gone, the status cell empty.
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->windowVisible);
    EXPECT_TRUE(doc->maximized);
    for (int row : {13, 42, 300, 612})
        EXPECT_FALSE(doc->content.sheets[0].cells.contains({row, 3})) << row;
    EXPECT_EQ(doc->content.sheets[0].cells.value({613, 3}), QVariant(613.0));
    EXPECT_FALSE(doc->content.sheets[0].cells.contains({5, 6}));

    // The compact window glides to the right edge and stops exactly there.
    FormTimer* glide = w.timer(QStringLiteral("Timer2"));
    ASSERT_TRUE(glide->enabled());
    const int stop = w.screenWidth() - 315 - 5595;
    int ticks = 0;
    while (glide->enabled() && ticks < 1000) {
        glide->tick();
        ++ticks;
    }
    EXPECT_EQ(w.Left(), stop);
    EXPECT_EQ(ticks, (stop + 99) / 100);

    // The user changes the list, then confirms: saved, the program ends.
    doc->content.sheets[0].set(14, 2, QStringLiteral("新同学"));
    doc->firstVisibleRow = 400;
    button(w, "Command5")->click();
    EXPECT_EQ(doc->firstVisibleRow, 1); // scrolled back to the top before saving
    EXPECT_EQ(fileCell(14, 2), QVariant(QStringLiteral("新同学")));
    EXPECT_FALSE(fileSheet().cells.contains({13, 3}));
    EXPECT_FALSE(fileSheet().cells.contains({612, 3}));
    EXPECT_EQ(fileCell(613, 3), QVariant(613.0));
    EXPECT_FALSE(fileSheet().cells.contains({5, 6}));
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    EXPECT_FALSE(w.session().workbookHeld);
    EXPECT_EQ(w.Width(), 9885);
    EXPECT_EQ(w.Height(), 7590);
    EXPECT_EQ(w.Left(), (w.screenWidth() - 9885) / 2);
    EXPECT_EQ(w.Top(), (w.screenHeight() - 7590) / 2);
    EXPECT_TRUE(shown(w, "Frame1"));
    EXPECT_FALSE(shown(w, "Frame3"));
    EXPECT_EQ(w.focusWidget(), button(w, "Command3"));
}

TEST_F(ListDrawWindowTest, PreparationReadsTheListAndRolls) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("随机抽签数据表中总人数：30人，本次参加抽签的人数：10人"));
    EXPECT_EQ(text(w, "Text3"), QStringLiteral("1"));
    EXPECT_EQ(button(w, "Command2")->text(), QStringLiteral("抽签结果"));
    EXPECT_TRUE(w.timer(QStringLiteral("Timer1"))->enabled());
    EXPECT_FALSE(button(w, "Command2")->isEnabled());
    EXPECT_FALSE(button(w, "Command3")->isEnabled());
    EXPECT_TRUE(button(w, "Command4")->isEnabled());
    EXPECT_TRUE(button(w, "Command6")->isEnabled());
    EXPECT_EQ(w.focusWidget(), button(w, "Command4"));
    // Hidden: the program works in the background.
    auto* app = dynamic_cast<vexlo::office::FakeSpreadsheetApp*>(w.session().workbook.app());
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->isVisible());
    EXPECT_TRUE(h.fake.messages.shown.empty());

    // The rolling display shows listed people, drawn or not.
    std::set<QString> rolled;
    for (int i = 0; i < 200; ++i) {
        h.tick(w, QStringLiteral("Timer1"));
        rolled.insert(text(w, "Text2"));
        ASSERT_EQ(text(w, "Text2"), QStringLiteral("学生%1").arg(text(w, "Text1"))) << i;
    }
    EXPECT_GT(rolled.size(), 20u);
}

TEST_F(ListDrawWindowTest, ATotalAboveSixHundredIsCappedToldAndWrittenBack) {
    writeList(nameSheet(600, 700.0, 5.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    ASSERT_EQ(messageTexts(), QStringList{body(QStringLiteral("      抽签总人数不能大于600，已自动修改！ "))});
    EXPECT_EQ(h.fake.messages.shown[0].title, QStringLiteral("随机抽签程序提示："));
    EXPECT_EQ(w.session().counts.totalCount, 600);
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("随机抽签数据表中总人数：600人，本次参加抽签的人数：5人"));
    TimerPump pause(w, QStringLiteral("Timer5"));
    drawRoundByHand(w);
    EXPECT_EQ(fileCell(10, 4), QVariant(600.0));
    EXPECT_EQ(fileDrawNumbers(600).size(), 5);
}

TEST_F(ListDrawWindowTest, TooManyParticipantsAreCorrectedAndToldAfterTheCountLine) {
    writeList(nameSheet(30, 30.0, 45.0));
    ListDrawWindow& w = open();
    QString countLineWhenTold;
    h.fake.messages.onShow = [&](const auto&) { countLineWhenTold = text(w, "Label3"); };
    readyToDraw(w);
    ASSERT_EQ(messageTexts(), QStringList{body(QStringLiteral("      参加抽签人数不能大于总人数，已自动修改！ "))});
    EXPECT_EQ(countLineWhenTold, QStringLiteral("随机抽签数据表中总人数：30人，本次参加抽签的人数：30人"));
    EXPECT_EQ(w.session().counts.participantCount, 30);
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->content.sheets[0].cells.value({11, 4}), QVariant(30.0));
}

TEST_F(ListDrawWindowTest, BothCorrectionsComeInOrder) {
    writeList(nameSheet(600, 700.0, 650.0));
    ListDrawWindow& w = open();
    QStringList countLines;
    h.fake.messages.onShow = [&](const auto&) { countLines << text(w, "Label3"); };
    readyToDraw(w);
    EXPECT_EQ(messageTexts(), (QStringList{body(listTexts::totalCapped), body(listTexts::participantsCorrected)}));
    // The first comes before the count line is written, the second after it.
    EXPECT_EQ(countLines.value(0), QStringLiteral("随机抽签数据表中总人数：？人，本次参加抽签的人数：?人"));
    EXPECT_EQ(countLines.value(1), QStringLiteral("随机抽签数据表中总人数：600人，本次参加抽签的人数：600人"));
}

TEST_F(ListDrawWindowTest, ATextInTheTotalCellFallsBackOnTheUsedRange) {
    writeList(nameSheet(30, QStringLiteral("三十人"), 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    // Rows 1 to 42 are in use: 42 - 1.
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("随机抽签数据表中总人数：41人，本次参加抽签的人数：10人"));
    EXPECT_TRUE(h.fake.messages.shown.empty());
}

TEST_F(ListDrawWindowTest, NamesAreShownTrimmedAndKeptAsTheyAreInTheFile) {
    const auto padded = [](int k) { return QStringLiteral("  同学%1 \t").arg(k); };
    SheetContent s = nameSheet(5, 5.0, 5.0, padded);
    s.set(13, 1, QStringLiteral("  A01 "));
    writeList(s);
    ListDrawWindow& w = open();
    readyToDraw(w);
    h.tick(w, QStringLiteral("Timer1"));
    EXPECT_FALSE(text(w, "Text2").startsWith(u' '));
    EXPECT_TRUE(text(w, "Text2").startsWith(QStringLiteral("同学")));
    const QStringList drawn = drawRoundByHand(w);
    ASSERT_EQ(drawn.size(), 5);
    EXPECT_TRUE(drawn.contains(QStringLiteral("A01")));
    EXPECT_EQ(text(w, "Text2"), QStringLiteral("同学%1").arg(drawn.last() == QStringLiteral("A01") ? 1 : drawn.last().toInt()));
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(fileCell(12 + k, 2), QVariant(padded(k))) << k;
    EXPECT_EQ(fileCell(13, 1), QVariant(QStringLiteral("  A01 ")));
}

TEST_F(ListDrawWindowTest, VeryLongNamesAndControlCharactersAreShownSafely) {
    const QString hostile = QStringLiteral("\u202E") + QString(20000, u'长') + QStringLiteral("\n\r\t");
    writeList(nameSheet(3, 3.0, 3.0, [&](int k) { return k == 2 ? hostile : QStringLiteral("甲\n乙%1").arg(k); }));
    ListDrawWindow& w = open();
    readyToDraw(w);
    for (int i = 0; i < 50; ++i) {
        h.tick(w, QStringLiteral("Timer1"));
        const QString shownName = text(w, "Text2");
        ASSERT_LE(shownName.size(), kShownTextLimit);
        for (QChar c : shownName)
            ASSERT_NE(c.category(), QChar::Other_Control) << i;
        ASSERT_FALSE(shownName.contains(QChar(0x202E)));
    }
    drawRoundByHand(w);
    EXPECT_EQ(fileCell(14, 2), QVariant(hostile)); // the workbook keeps what it held
}

TEST_F(ListDrawWindowTest, ThirtyListedTenDrawnEndsAfterTheTenthDraw) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    QStringList drawn;
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(button(w, "Command4")->isEnabled()) << i;
        button(w, "Command4")->click();
        drawn << text(w, "Text1");
        EXPECT_EQ(text(w, "Text3"), QString::number(i));
        if (i < 10) {
            EXPECT_EQ(roundOverMessages(), 0) << i;
            EXPECT_EQ(w.focusWidget(), button(w, "Command3"));
            button(w, "Command3")->click();
            EXPECT_EQ(text(w, "Text3"), QString::number(i + 1));
            EXPECT_TRUE(w.timer(QStringLiteral("Timer1"))->enabled());
        }
    }
    EXPECT_EQ(roundOverMessages(), 1);
    EXPECT_EQ(messageTexts().size(), 1);
    for (const char* name : {"Command3", "Command4", "Command6"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name;
    EXPECT_TRUE(button(w, "Command1")->isEnabled());
    EXPECT_TRUE(button(w, "Command2")->isEnabled());
    EXPECT_EQ(button(w, "Command2")->text(), QStringLiteral("抽签结果"));
    EXPECT_EQ(w.focusWidget(), button(w, "Command2"));
    EXPECT_FALSE(w.session().workbookHeld);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());

    // The file: 1 ... 10 beside exactly the people drawn, in drawing order.
    const QMap<QString, int> numbers = fileDrawNumbers(30);
    ASSERT_EQ(numbers.size(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(numbers.value(drawn[i]), i + 1) << drawn[i].toStdString();
}

TEST_F(ListDrawWindowTest, NobodyIsDrawnTwiceInAFullRoundOfSixHundred) {
    writeList(nameSheet(600, 600.0, 600.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    TimerPump pause(w, QStringLiteral("Timer5"));
    QStringList drawn;
    // Command4 stays enabled between draws: pressing it again draws the next at once.
    for (int i = 0; i < 600 && button(w, "Command4")->isEnabled(); ++i) {
        button(w, "Command4")->click();
        drawn << text(w, "Text1");
    }
    EXPECT_EQ(drawn.size(), 600);
    EXPECT_EQ(std::set<QString>(drawn.begin(), drawn.end()).size(), 600u);
    const QMap<QString, int> numbers = fileDrawNumbers(600);
    std::set<int> values;
    for (int v : numbers)
        values.insert(v);
    EXPECT_EQ(values.size(), 600u);
    EXPECT_EQ(*values.begin(), 1);
    EXPECT_EQ(*values.rbegin(), 600);
    // 500 and more: until waitTicks reaches 100 (looked at every second yield).
    EXPECT_GE(pause.ticks, 99);
    EXPECT_LE(pause.ticks, 100);
    EXPECT_EQ(roundOverMessages(), 1);
}

TEST_F(ListDrawWindowTest, TheAutomaticDrawIsOfferedOnlyBeforeTheFirstDraw) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    EXPECT_TRUE(button(w, "Command6")->isEnabled());
    button(w, "Command4")->click();
    EXPECT_FALSE(button(w, "Command6")->isEnabled());
    button(w, "Command3")->click();
    EXPECT_FALSE(button(w, "Command6")->isEnabled());
    EXPECT_TRUE(button(w, "Command4")->isEnabled());
    EXPECT_EQ(w.focusWidget(), button(w, "Command4"));
    w.automaticDraw(); // even called directly it does not start
    EXPECT_TRUE(h.fake.input.calls.empty());
    EXPECT_EQ(w.session().drawnCount, 1);
}

TEST_F(ListDrawWindowTest, TheEndOfRoundPauseGrowsWithTheList) {
    // Ticks until waitTicks, starting at 1, reaches the threshold; the pause looks at it
    // after every second yield, so it may see one tick more.
    struct Case {
        int people;
        int ticks;
    } cases[] = {{99, 0}, {100, 19}, {150, 19}, {250, 39}, {420, 79}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.people);
        h.fake.messages.shown.clear();
        writeList(nameSheet(c.people, double(c.people), 1.0));
        ListDrawWindow& w = open();
        readyToDraw(w);
        bool pauseShown = false, returnLocked = false;
        TimerPump pause(w, QStringLiteral("Timer5"), [&](int) {
            pauseShown = shown(w, "Frame5");
            returnLocked = !button(w, "Command1")->isEnabled();
        });
        int ticksWhenTold = -1;
        h.fake.messages.onShow = [&](const auto&) { ticksWhenTold = pause.ticks; };
        button(w, "Command4")->click();
        EXPECT_GE(ticksWhenTold, c.ticks);
        EXPECT_LE(ticksWhenTold, c.ticks + (c.ticks > 0 ? 1 : 0));
        EXPECT_EQ(pause.ticks, ticksWhenTold); // no tick after the pause
        EXPECT_EQ(pauseShown, c.ticks > 0);
        EXPECT_EQ(returnLocked, c.ticks > 0);
        EXPECT_FALSE(shown(w, "Frame5"));
        EXPECT_FALSE(w.timer(QStringLiteral("Timer5"))->enabled());
        EXPECT_EQ(w.session().waitTicks, 1);
        EXPECT_EQ(roundOverMessages(), 1);
        h.fake.messages.onShow = nullptr;
        h.ctx().forms.unload(FormId::Form4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ListDrawWindowTest, ReturningMidRoundEmptiesThatRoundsNumbersAndSaves) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    for (int i = 0; i < 3; ++i) {
        button(w, "Command4")->click();
        button(w, "Command3")->click();
    }
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    int written = 0;
    for (int row = 13; row <= 42; ++row)
        written += doc->content.sheets[0].cells.contains({row, 3});
    ASSERT_EQ(written, 3);
    const int savesBefore = saves();
    Form& main = h.main();
    main.hide();
    main.timer(QStringLiteral("Timer2"))->setEnabled(false);

    button(w, "Command1")->click();
    EXPECT_EQ(saves(), savesBefore + 1);
    EXPECT_TRUE(fileDrawNumbers(30).isEmpty());
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form4));
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.timer(QStringLiteral("Timer2"))->enabled());
    EXPECT_EQ(roundOverMessages(), 0);
}

TEST_F(ListDrawWindowTest, ReturningBeforeAnyPreparationLeavesTheFileAlone) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    button(w, "Command1")->click();
    EXPECT_EQ(saves(), 0);
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form4));
    EXPECT_TRUE(h.main().isVisible());
}

TEST_F(ListDrawWindowTest, TheAutomaticDrawMakesExactlyTheRoundsDrawsWithInputBlocked) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    bool blockedWhileDrawing = false, panelShown = false;
    TimerPump watch(w, QStringLiteral("Timer1"), [&](int) {
        blockedWhileDrawing = blockedWhileDrawing || h.fake.input.blocked;
        panelShown = panelShown || shown(w, "Frame4");
    });
    button(w, "Command6")->click();

    EXPECT_EQ(w.session().drawsSinceOpen, 10);
    EXPECT_EQ(fileDrawNumbers(30).size(), 10);
    QList<int> numbers = fileDrawNumbers(30).values();
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(roundOverMessages(), 1);
    EXPECT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(blockedWhileDrawing);
    EXPECT_TRUE(panelShown);
    EXPECT_EQ(h.fake.input.calls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(h.fake.input.blocked);
    // The 25 ms pause between one draw and the next preparation, nine times.
    EXPECT_EQ(h.fake.chores.sleeps, std::vector<int>(9, 25));
    EXPECT_FALSE(shown(w, "Frame4"));
    EXPECT_FALSE(button(w, "Command4")->isEnabled());
    EXPECT_TRUE(button(w, "Command2")->isEnabled());
    EXPECT_EQ(w.focusWidget(), button(w, "Command2"));
    EXPECT_TRUE(w.timer(QStringLiteral("Timer4"))->enabled()); // runs out on its own
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
}

TEST_F(ListDrawWindowTest, TimerFourGivesInputBackAfterThirtySeconds) {
    writeList(nameSheet(60, 60.0, 60.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    int releasedAtTick = -1;
    TimerPump cap(w, QStringLiteral("Timer4"), [&](int tick) {
        if (releasedAtTick < 0 && !h.fake.input.blocked)
            releasedAtTick = tick;
    });
    button(w, "Command6")->click();
    EXPECT_EQ(releasedAtTick, 300);
    EXPECT_EQ(cap.ticks, 300);
    EXPECT_FALSE(w.timer(QStringLiteral("Timer4"))->enabled());
    EXPECT_EQ(w.session().inputBlockTicks, 1);
    // The round still ends properly, with one message and every draw written.
    EXPECT_EQ(fileDrawNumbers(60).size(), 60);
    EXPECT_EQ(roundOverMessages(), 1);
    EXPECT_FALSE(h.fake.input.blocked);
}

TEST_F(ListDrawWindowTest, ClosingTheWindowDuringTheAutomaticDrawGivesEverythingBack) {
    writeList(nameSheet(30, 30.0, 20.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    const int savesBefore = saves();
    bool unloaded = false;
    TimerPump closer(w, QStringLiteral("Timer1"), [&](int) {
        if (!unloaded && w.session().drawsSinceOpen == 5) {
            unloaded = true;
            h.ctx().forms.unload(FormId::Form4); // the program ending under it
        }
    });
    const QPointer<ListDrawWindow> alive(&w);
    button(w, "Command6")->click();
    EXPECT_TRUE(unloaded);
    // Destroyed by the event loop while its handler still ran; the handler stopped.
    EXPECT_TRUE(alive.isNull());
    EXPECT_FALSE(h.fake.input.blocked);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    // Saved once more, with the half round taken out again.
    EXPECT_EQ(saves(), savesBefore + 1);
    EXPECT_TRUE(fileDrawNumbers(30).isEmpty());
    EXPECT_EQ(roundOverMessages(), 0);
}

TEST_F(ListDrawWindowTest, ClosingTheWindowAtTheEndOfRoundMessageKeepsTheRound) {
    writeList(nameSheet(30, 30.0, 6.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    h.fake.messages.onShow = [&](const auto&) { h.ctx().forms.unload(FormId::Form4); };
    drawRoundByHand(w);
    h.fake.messages.onShow = nullptr;
    EXPECT_EQ(roundOverMessages(), 1);
    EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form4));
    EXPECT_EQ(fileDrawNumbers(30).size(), 6);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
}

TEST_F(ListDrawWindowTest, NumbersBelowTheListSurviveTheRound) {
    writeList(nameSheet(30, 30.0, 5.0));
    ListDrawWindow& w = open();
    button(w, "Command2")->click();
    // The user notes something in column C below the list while editing.
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    doc->content.sheets[0].set(45, 3, 77.0);
    button(w, "Command5")->click();
    button(w, "Command3")->click();
    drawRoundByHand(w);
    EXPECT_EQ(fileDrawNumbers(30).size(), 5);
    EXPECT_EQ(fileCell(45, 3), QVariant(77.0));
}

TEST_F(ListDrawWindowTest, TheResultsCanBeViewedAfterTheRoundWithoutLosingThem) {
    writeList(nameSheet(30, 30.0, 4.0));
    ListDrawWindow& w = open();
    readyToDraw(w);
    drawRoundByHand(w);
    ASSERT_EQ(fileDrawNumbers(30).size(), 4);
    button(w, "Command2")->click(); // "抽签结果"
    EXPECT_TRUE(button(w, "Command2")->isEnabled());
    EXPECT_EQ(w.session().resultViewCount, 2);
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->windowVisible);
    int shownNumbers = 0;
    for (int row = 13; row <= 42; ++row)
        shownNumbers += doc->content.sheets[0].cells.contains({row, 3});
    EXPECT_EQ(shownNumbers, 4); // not cleared: a round was prepared in this window
    button(w, "Command5")->click();
    EXPECT_EQ(fileDrawNumbers(30).size(), 4);
    EXPECT_EQ(w.session().resultViewCount, 1);
    for (const char* name : {"Command3", "Command4", "Command6"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name; // one round per opening
}

TEST_F(ListDrawWindowTest, AListThatCannotBeDrawnFromIsExplainedAndTheWindowStaysUsable) {
    // A participant count the window has announced it corrected is written even though
    // the preparation is refused; nothing else is.
    struct Case {
        const char* what;
        QVariant d10, d11, d11After;
        QString message;
    } cases[] = {
        {"empty total cell", QVariant(), 10.0, 0.0,
         listTexts::noPeople(QStringLiteral("编辑名单"), QStringLiteral("D10"))},
        {"zero people", 0.0, 0.0, 0.0, listTexts::noPeople(QStringLiteral("编辑名单"), QStringLiteral("D10"))},
        {"negative total", -4.0, 3.0, -4.0, listTexts::noPeople(QStringLiteral("编辑名单"), QStringLiteral("D10"))},
        {"nobody taking part", 30.0, 0.0, 0.0,
         listTexts::noParticipants(QStringLiteral("编辑名单"), QStringLiteral("D11"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.fake.messages.shown.clear();
        writeList(nameSheet(30, c.d10, c.d11));
        const int savesBefore = std::max(0, saves());
        ListDrawWindow& w = open();
        readyToDraw(w);
        ASSERT_FALSE(messageTexts().isEmpty());
        EXPECT_EQ(messageTexts().last(), body(c.message));
        EXPECT_EQ(h.fake.messages.shown.back().title, QStringLiteral("随机抽签程序提示："));
        EXPECT_FALSE(w.timer(QStringLiteral("Timer1"))->enabled());
        h.tick(w, QStringLiteral("Timer1")); // a stray tick shows nobody and reads nothing
        EXPECT_EQ(text(w, "Text2"), QStringLiteral("?"));
        EXPECT_FALSE(button(w, "Command4")->isEnabled());
        EXPECT_FALSE(button(w, "Command6")->isEnabled());
        w.manualDraw();
        w.automaticDraw();
        EXPECT_EQ(text(w, "Text2"), QStringLiteral("?"));
        EXPECT_TRUE(h.fake.input.calls.empty());
        // Ready to be put right: the list can be edited again and prepared again.
        EXPECT_TRUE(button(w, "Command2")->isEnabled());
        EXPECT_EQ(button(w, "Command2")->text(), QStringLiteral("编辑名单"));
        EXPECT_TRUE(button(w, "Command3")->isEnabled());
        EXPECT_TRUE(button(w, "Command1")->isEnabled());
        EXPECT_FALSE(w.session().workbookHeld);
        EXPECT_TRUE(suite.ownProcessIds().isEmpty());
        const bool corrected = c.d11 != c.d11After;
        EXPECT_EQ(saves(), savesBefore + 1 + corrected); // the confirmation's, and the correction's
        EXPECT_EQ(fileCell(11, 4), c.d11After);

        // Fixed in the spreadsheet program, the list is drawn from after all.
        button(w, "Command2")->click();
        auto doc = openDocument(w);
        ASSERT_TRUE(doc);
        doc->content.sheets[0].set(10, 4, 30.0);
        doc->content.sheets[0].set(11, 4, 2.0);
        button(w, "Command5")->click();
        button(w, "Command3")->click();
        EXPECT_TRUE(button(w, "Command4")->isEnabled());
        EXPECT_EQ(drawRoundByHand(w).size(), 2);
        EXPECT_EQ(fileDrawNumbers(30).size(), 2);
        h.ctx().forms.unload(FormId::Form4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ListDrawWindowTest, AWorkbookThatCannotBeOpenedIsToldAtEditAndAtPreparation) {
    struct Case {
        const char* what;
        std::function<void()> fault;
        QString message;
        int total; // what the count line says
    } cases[] = {
        {"wrong password", [this] { world().faults.wrongPassword = true; }, listTexts::openFailed("name.xls"), 0},
        {"file missing", [this] { world().removeFile(listPath()); }, listTexts::openFailed("name.xls"), 0},
        // The workbook is open, only "sheet1" is not there: the used range stands in.
        {"no sheet1", [this] { world().faults.sheetMissing = true; },
         listTexts::sheetMissing("name.xls", "sheet1"), 41},
        {"no spreadsheet program", [this] { world().faults.programMissing = true; }, listTexts::programMissing, 0},
        {"no office at all", [this] { h.ctx().office = nullptr; }, listTexts::programMissing, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.fake.messages.shown.clear();
        world().faults = {};
        h.ctx().office = &suite;
        writeList(nameSheet(30, 30.0, 10.0));
        c.fault();
        ListDrawWindow& w = open();
        button(w, "Command2")->click();
        EXPECT_EQ(messageTexts(), QStringList{body(c.message)});
        EXPECT_TRUE(button(w, "Command5")->isEnabled());
        button(w, "Command5")->click();
        button(w, "Command3")->click();
        EXPECT_EQ(messageTexts(), (QStringList{body(c.message), body(c.message)}));
        EXPECT_FALSE(w.timer(QStringLiteral("Timer1"))->enabled());
        EXPECT_EQ(text(w, "Label3"), listTexts::countLine(c.total, 0));
        EXPECT_FALSE(button(w, "Command4")->isEnabled());
        EXPECT_TRUE(button(w, "Command2")->isEnabled());
        EXPECT_TRUE(suite.ownProcessIds().isEmpty());
        button(w, "Command1")->click();
        EXPECT_FALSE(h.ctx().forms.isLoaded(FormId::Form4));
        EXPECT_TRUE(h.main().isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ListDrawWindowTest, KeepsOnScreenAndAnswersThePointer) {
    writeList(nameSheet(30, 30.0, 10.0));
    ListDrawWindow& w = open();
    const int sw = w.screenWidth(), sh = w.screenHeight();
    struct Case {
        int left, top, wantLeft, wantTop;
    } cases[] = {{-300, 50, 0, 50}, {40, -20, 40, 0}, {sw, 10, sw - 9885, 10}, {30, sh, 30, sh - 7590}};
    for (const Case& c : cases) {
        w.setLeft(c.left);
        w.setTop(c.top);
        h.tick(w, QStringLiteral("Timer3"));
        EXPECT_EQ(w.Left(), c.wantLeft);
        EXPECT_EQ(w.Top(), c.wantTop);
    }
    // Dragged by a label: the window follows the pointer's offset.
    w.setLeft(3000);
    w.setTop(1500);
    QWidget* label = w.controlWidget(QStringLiteral("Label2"));
    pointer::press(label, {5, 5});
    pointer::dragTo(label, {25, 15});
    pointer::release(label, {25, 15});
    EXPECT_EQ(w.Left(), 3000 + 20 * 15);
    EXPECT_EQ(w.Top(), 1500 + 10 * 15);
    // A button under the pointer takes the focus.
    pointer::moveOver(button(w, "Command1"));
    EXPECT_EQ(w.focusWidget(), button(w, "Command1"));
}

} // namespace

namespace {

// The same window set up as the group draw will be: its own workbook and cells, other
// captions, the top edge at 3150, and its hooks.
class GroupLikeWindow : public NameDrawWindow {
public:
    static DrawWindowSpec groupSpec() {
        DrawWindowSpec s = ListDrawWindow::makeSpec();
        s.id = FormId::Form9;
        s.list = &ListLayout::groupList();
        s.fullWidth = 10515;
        s.editCaption = QStringLiteral("编辑分组名单");
        s.resultsCaption = QStringLiteral("查看抽签数据");
        s.roundOverMessage = QStringLiteral("     本轮抽签结束，请点击按钮左下角的“查看抽签数据”按钮查看抽签顺序号！  ");
        s.fixedTop = 3150;
        s.retakeUsedRangeOnView = false;
        return s;
    }
    explicit GroupLikeWindow(AppContext& ctx) : NameDrawWindow(ctx, groupSpec()) {}

    bool saveOnConfirm = true;
    QStringList hooks;

protected:
    void beforeEditAction() override { hooks << QStringLiteral("before"); }
    void editModeChosen(bool resultsMode) override { hooks << (resultsMode ? QStringLiteral("results") : QStringLiteral("edit")); }
    bool savesOnConfirm() const override { return saveOnConfirm; }
};

TEST_F(ListDrawWindowTest, TheSameWindowDrawsFromTheGroupListWithItsOwnCellsAndPlacement) {
    const QString groupPath = QDir(h.folder()).filePath(QStringLiteral("name1.xls"));
    SheetContent s = nameSheet(24, 5.0, 24.0);
    for (int k = 1; k <= 24; ++k) {
        s.set(12 + k, 3, QStringLiteral("备注%1").arg(k)); // column C is the user's here
        s.set(12 + k, 4, double(1 + k % 3));
        s.set(12 + k, 5, 99.0);
        s.set(12 + k, 6, 7.0);
    }
    s.set(5, 7, QStringLiteral("G5"));
    world().writeWorkbookFile(groupPath, WorkbookContent{{s}}, kListPassword);
    h.ctx().forms.setFactory(FormId::Form9, [](AppContext& ctx) { return std::make_unique<GroupLikeWindow>(ctx); });
    auto& w = *static_cast<GroupLikeWindow*>(h.ctx().forms.ref(FormId::Form9));
    w.show();

    button(w, "Command2")->click();
    EXPECT_EQ(w.hooks, (QStringList{QStringLiteral("before"), QStringLiteral("edit")}));
    EXPECT_EQ(w.Top(), 3150);
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    EXPECT_FALSE(doc->content.sheets[0].cells.contains({13, 5})); // E and F cleared
    EXPECT_FALSE(doc->content.sheets[0].cells.contains({13, 6}));
    EXPECT_FALSE(doc->content.sheets[0].cells.contains({5, 7}));  // G5 emptied
    button(w, "Command5")->click();
    EXPECT_EQ(w.Width(), 10515);
    EXPECT_EQ(w.Top(), 3150);
    EXPECT_EQ(w.Left(), (w.screenWidth() - 10515) / 2);

    button(w, "Command3")->click();
    EXPECT_EQ(button(w, "Command2")->text(), QStringLiteral("查看抽签数据"));
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("随机抽签数据表中总人数：24人，本次参加抽签的人数：24人"));
    QStringList drawn;
    while (button(w, "Command4")->isEnabled() && drawn.size() < 30) {
        button(w, "Command4")->click();
        drawn << text(w, "Text1");
    }
    EXPECT_EQ(drawn.size(), 24);
    EXPECT_EQ(messageTexts(), QStringList{body(GroupLikeWindow::groupSpec().roundOverMessage)});
    const SheetContent file = world().readWorkbookFile(groupPath, kListPassword)->sheets[0];
    for (int k = 1; k <= 24; ++k) {
        EXPECT_EQ(file.cells.value({12 + k, 5}), QVariant(double(drawn.indexOf(QString::number(k)) + 1))) << k;
        EXPECT_EQ(file.cells.value({12 + k, 3}), QVariant(QStringLiteral("备注%1").arg(k))) << k;
    }

    // The results viewed and confirmed without saving, as the hook decides.
    button(w, "Command2")->click();
    EXPECT_EQ(w.hooks.mid(2), (QStringList{QStringLiteral("before"), QStringLiteral("results")}));
    w.saveOnConfirm = false;
    openDocument(w)->content.sheets[0].set(13, 6, 1.0);
    const int savesBefore = world().workbookFile(groupPath)->saves;
    button(w, "Command5")->click();
    EXPECT_EQ(world().workbookFile(groupPath)->saves, savesBefore);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    h.ctx().forms.unload(FormId::Form9);
    // name.xls was never touched.
    EXPECT_EQ(saves(), -1);
}

} // namespace

namespace {

// The user's file is never changed behind their back, nor a failed save passed over:
// a workbook that cannot be written is refused before anything is changed, and a save
// that failed is named with its reason, after the window's own messages.
TEST_F(ListDrawWindowTest, WorkbooksThatCannotBeWrittenAreRefusedAndFailedSavesAreTold) {
    using vexlo::office::FileProblem;
    enum class Step { Edit, Prepare, RoundEnd, Confirm };
    struct Case {
        const char* what;
        Step step;
        FileProblem openRefused, saveFails;
        QString lastMessage;
    } cases[] = {
        {"in use at editing", Step::Edit, FileProblem::InUse, FileProblem::None,
         listTexts::refused(QStringLiteral("name.xls"), FileProblem::InUse)},
        {"read-only at the preparation", Step::Prepare, FileProblem::ReadOnlyFile, FileProblem::None,
         listTexts::refused(QStringLiteral("name.xls"), FileProblem::ReadOnlyFile)},
        {"format not writable", Step::Prepare, FileProblem::FormatNotWritable, FileProblem::None,
         listTexts::refused(QStringLiteral("name.xls"), FileProblem::FormatNotWritable)},
        {"disk full at the round's end", Step::RoundEnd, FileProblem::None, FileProblem::DiskFull,
         listTexts::resultsNotSaved(QStringLiteral("name.xls"), FileProblem::DiskFull)},
        {"program stopped at the confirmation", Step::Confirm, FileProblem::None, FileProblem::ProgramStopped,
         listTexts::editsNotSaved(QStringLiteral("name.xls"), FileProblem::ProgramStopped)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeList(nameSheet(30, 30.0, 3.0));
        SheetContent before = fileSheet();
        int savesBefore = saves();
        h.fake.messages.shown.clear();
        ListDrawWindow& w = open();
        const bool atEditing = c.step == Step::Edit || c.step == Step::Confirm;
        world().faults.openRefused = c.step == Step::Edit ? c.openRefused : FileProblem::None;
        button(w, "Command2")->click();
        world().faults.saveFails = c.step == Step::Confirm ? c.saveFails : FileProblem::None;
        button(w, "Command5")->click();
        if (!atEditing) {
            // The checked list is saved as confirmed; the step under test comes after.
            before = fileSheet();
            savesBefore = saves();
            world().faults.openRefused = c.openRefused;
            world().faults.saveFails = c.saveFails;
            button(w, "Command3")->click();
        }
        if (c.step == Step::RoundEnd) {
            EXPECT_EQ(drawRoundByHand(w).size(), 3);
            ASSERT_GE(messageTexts().size(), 2);
            EXPECT_EQ(messageTexts().at(messageTexts().size() - 2), body(listDrawTexts::roundOver))
                << "the window's own message first";
        }
        ASSERT_FALSE(messageTexts().isEmpty());
        EXPECT_EQ(messageTexts().last(), body(c.lastMessage));
        EXPECT_TRUE(fileSheet().cells == before.cells) << "the file keeps what it had";
        EXPECT_EQ(saves(), savesBefore);
        EXPECT_TRUE(button(w, "Command1")->isEnabled()) << "the way back stays open";
        EXPECT_TRUE(suite.ownProcessIds().isEmpty()) << "no program of ours is left";
        world().faults = {};
        h.ctx().forms.unload(FormId::Form4);
    }
}

} // namespace
