#include "NameListFixture.h"

#include "namelists/GroupDrawTexts.h"
#include "namelists/GroupDrawWindow.h"
#include "namelists/ListTexts.h"

#include <map>

using namespace namelists;
using namespace nltest;

namespace {

class GroupDrawWindowTest : public NameListTest {
protected:
    void TearDown() override {
        h.ctx().forms.unload(FormId::Form9);
        NameListTest::TearDown();
    }
    QString groupPath() const { return QDir(h.folder()).filePath(QStringLiteral("name1.xls")); }
    // A grouped list: D11 the total, person k in row 12 + k with its group in column D.
    void writeGroups(int people, const QVariant& d11, const std::function<QVariant(int)>& group) {
        SheetContent s = nameSheet(people, {}, d11);
        for (int k = 1; k <= people; ++k)
            s.set(12 + k, 4, group(k));
        s.set(13 + people, 1, QStringLiteral("表尾")); // a note below the list: never sorted in
        world().writeWorkbookFile(groupPath(), WorkbookContent{{s}}, kListPassword);
    }
    SheetContent groupFile() { return world().readWorkbookFile(groupPath(), kListPassword)->sheets.value(0); }
    int groupSaves() { return world().workbookFile(groupPath())->saves; }

    GroupDrawWindow& openGroup() {
        Form* f = h.ctx().forms.ref(FormId::Form9);
        h.ctx().yield(2);
        f->show();
        return *static_cast<GroupDrawWindow*>(f);
    }
    // Edit, confirm, prepare and draw everybody automatically; the round saved.
    void drawWholeRound(GroupDrawWindow& w) {
        button(w, "Command2")->click();
        button(w, "Command5")->click();
        button(w, "Command3")->click();
        TimerPump pause(w, QStringLiteral("Timer5"));
        button(w, "Command6")->click();
    }
    // The results viewed and confirmed: the sort is offered from now on.
    void viewResults(GroupDrawWindow& w) {
        button(w, "Command2")->click();
        button(w, "Command5")->click();
    }
};

TEST_F(GroupDrawWindowTest, OpensWithTheGroupLayout) {
    writeGroups(12, 12.0, [](int k) { return double(1 + k % 3); });
    GroupDrawWindow& w = openGroup();
    EXPECT_EQ(w.Width(), 10515);
    EXPECT_EQ(w.Height(), 7590);
    const std::tuple<const char*, const char*, bool> buttons[] = {
        {"Command2", "编辑分组名单", true}, {"Command3", "抽签准备", false}, {"Command6", "自动分组抽签", false},
        {"Command7", "抽签结果排序", false}, {"Command1", "返\u3000回", true}, {"Command4", "手工抽签", false}};
    int left = -1;
    for (const auto& [name, caption, enabled] : buttons) {
        EXPECT_EQ(button(w, name)->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(button(w, name)->isEnabled(), enabled) << name;
        if (qstrcmp(name, "Command4") == 0)
            continue;
        const QRect g = button(w, name)->geometry();
        EXPECT_GT(g.x(), left) << name; // one row, in this order
        EXPECT_LE(g.right() * 15, 10515) << name;
        left = g.x();
    }
    EXPECT_EQ(button(w, "Command4")->geometry().y() * 15, 7800); // below the visible area
    for (const char* name : {"Text1", "Text2", "Text3"})
        EXPECT_EQ(w.controlWidget(QLatin1String(name))->width() * 15, 6855) << name;
}

// Sorted by group, then draw number; F ranks each group from 1; rows past the list stay.
struct SortCase {
    const char* label;
    int people;
    std::function<QVariant(int)> group;
};

class GroupSortTest : public GroupDrawWindowTest, public ::testing::WithParamInterface<int> {};

const SortCase kSortCases[] = {
    {"numbers", 12, [](int k) { return QVariant(double(1 + k % 3)); }},
    {"texts", 12, [](int k) { return QVariant(QStringList{"一组", "二组", "三组"}[k % 3]); }},
    {"six hundred", 600, [](int k) { return QVariant(double(1 + k % 7)); }},
};

TEST_P(GroupSortTest, SortsByGroupAndDrawNumberRanksEachGroupAndLeavesTheFileAsDrawn) {
    const SortCase& c = kSortCases[GetParam()];
    SCOPED_TRACE(c.label);
    writeGroups(c.people, double(c.people), c.group);
    GroupDrawWindow& w = openGroup();
    drawWholeRound(w);
    viewResults(w);
    ASSERT_TRUE(button(w, "Command7")->isEnabled());
    const SheetContent drawn = groupFile();
    const int savesAfterRound = groupSaves();

    for (int repeat = 0; repeat < 2; ++repeat) {
        button(w, "Command7")->click();
        EXPECT_EQ(w.Width(), 5595);
        EXPECT_EQ(w.Top(), 3150);
        EXPECT_EQ(button(w, "Command5")->text(), listTexts::confirmCaption);
        EXPECT_TRUE(button(w, "Command5")->isEnabled());
        EXPECT_EQ(w.focusWidget(), button(w, "Command5"));
        EXPECT_TRUE(w.timer(QStringLiteral("Timer2"))->enabled());
        auto doc = openDocument(w);
        ASSERT_TRUE(doc);
        EXPECT_TRUE(doc->windowVisible);
        const SheetContent& sorted = doc->content.sheets[0];
        // Every person once, groups in one block each, draw numbers rising inside a group.
        std::map<QString, int> lastNumber;
        QStringList groupsSeen;
        QSet<QString> people;
        for (int i = 1; i <= c.people; ++i) {
            const QString g = sorted.cells.value({12 + i, 4}).toString();
            const int number = sorted.cells.value({12 + i, 5}).toInt();
            people.insert(sorted.cells.value({12 + i, 2}).toString());
            if (groupsSeen.isEmpty() || groupsSeen.back() != g) {
                ASSERT_FALSE(groupsSeen.contains(g)) << "group " << g.toStdString() << " split at row " << 12 + i;
                groupsSeen << g;
                EXPECT_EQ(sorted.cells.value({12 + i, 6}), QVariant(1.0)) << 12 + i;
            } else {
                EXPECT_GT(number, lastNumber[g]) << 12 + i;
                EXPECT_EQ(sorted.cells.value({12 + i, 6}).toInt(), sorted.cells.value({11 + i, 6}).toInt() + 1)
                    << 12 + i;
            }
            lastNumber[g] = number;
        }
        EXPECT_EQ(people.size(), c.people);
        EXPECT_EQ(groupsSeen.size(), c.people == 600 ? 7 : 3);
        if (c.people == 12) {
            // Four to a group, ranked 1 ... 4.
            for (int i = 1; i <= 12; ++i)
                EXPECT_EQ(sorted.cells.value({12 + i, 6}), QVariant(double(1 + (i - 1) % 4))) << 12 + i;
        }
        if (c.label == std::string("numbers")) {
            EXPECT_EQ(groupsSeen, (QStringList{"1", "2", "3"}));
        }
        EXPECT_EQ(sorted.cells.value({13 + c.people, 1}), QVariant(QStringLiteral("表尾")));

        button(w, "Command5")->click();
        EXPECT_TRUE(suite.ownProcessIds().isEmpty());
        EXPECT_EQ(groupSaves(), savesAfterRound);
        EXPECT_EQ(groupFile().cells, drawn.cells);
        EXPECT_EQ(w.Width(), 10515);
        EXPECT_EQ(w.Top(), 3150);
        EXPECT_TRUE(button(w, "Command7")->isEnabled());
    }
    EXPECT_EQ(messageTexts(), QStringList{body(groupDrawTexts::roundOver)});
}

INSTANTIATE_TEST_SUITE_P(Groups, GroupSortTest, ::testing::Range(0, 3));

TEST_F(GroupDrawWindowTest, TheSortedViewClosedUnderwayIsThrownAwayNotSaved) {
    writeGroups(12, 12.0, [](int k) { return double(1 + k % 3); });
    GroupDrawWindow& w = openGroup();
    drawWholeRound(w);
    viewResults(w);
    const SheetContent drawn = groupFile();
    const int saves = groupSaves();
    button(w, "Command7")->click();
    ASSERT_TRUE(openDocument(w));
    h.ctx().forms.unload(FormId::Form9);
    EXPECT_TRUE(suite.ownProcessIds().isEmpty());
    EXPECT_EQ(groupSaves(), saves);
    EXPECT_EQ(groupFile().cells, drawn.cells); // draw numbers kept, no ranks
}

TEST_F(GroupDrawWindowTest, EditingBeforeAnyPreparationEmptiesEAndFAndIsSaved) {
    writeGroups(30, 30.0, [](int k) { return double(1 + k % 3); });
    SheetContent s = groupFile();
    for (int row = 13; row <= 613; ++row) {
        s.set(row, 5, double(row));
        s.set(row, 6, double(row));
    }
    s.set(5, 7, QStringLiteral("已抽签"));
    world().writeWorkbookFile(groupPath(), WorkbookContent{{s}}, kListPassword);
    GroupDrawWindow& w = openGroup();
    button(w, "Command2")->click();
    EXPECT_FALSE(button(w, "Command7")->isEnabled());
    EXPECT_EQ(w.Top(), 3150);
    EXPECT_EQ(w.Left(), 0); // about to glide right
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    const SheetContent& open = doc->content.sheets[0];
    for (int row = 13; row <= 612; ++row) {
        EXPECT_FALSE(open.cells.contains({row, 5})) << row;
        EXPECT_FALSE(open.cells.contains({row, 6})) << row;
    }
    EXPECT_EQ(open.cells.value({613, 5}), QVariant(613.0));
    EXPECT_FALSE(open.cells.contains({5, 7}));
    const int saves = groupSaves();
    button(w, "Command5")->click();
    EXPECT_EQ(groupSaves(), saves + 1);
    EXPECT_FALSE(groupFile().cells.contains({20, 6}));
}

TEST_F(GroupDrawWindowTest, ATotalOf650BringsBothCorrectionsInOrderAndIsWrittenBackAs600) {
    writeGroups(600, 650.0, [](int k) { return double(1 + k % 5); });
    GroupDrawWindow& w = openGroup();
    button(w, "Command2")->click();
    button(w, "Command5")->click();
    button(w, "Command3")->click();
    EXPECT_EQ(messageTexts(), (QStringList{body(QStringLiteral("      抽签总人数不能大于600，已自动修改！ ")),
                                           body(QStringLiteral("      参加抽签人数不能大于总人数，已自动修改！ "))}));
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("随机抽签数据表中总人数：600人，本次参加抽签的人数：600人"));
    auto doc = openDocument(w);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->content.sheets[0].cells.value({11, 4}), QVariant(600.0));
    EXPECT_EQ(button(w, "Command2")->text(), groupDrawTexts::resultsCaption);
    EXPECT_EQ(w.focusWidget(), button(w, "Command4")); // a key press draws by hand
}

TEST(GroupValues, AreComparedAsTheSpreadsheetHoldsThem) {
    const std::tuple<QVariant, QVariant, bool> cases[] = {
        {1.0, 1.0, true},
        {1.0, 2.0, false},
        {QStringLiteral("一组"), QStringLiteral("一组"), true},
        {QStringLiteral("一组"), QStringLiteral("二组"), false},
        {1.0, QStringLiteral("1"), false},
        {QVariant(), QVariant(), true},
        {QVariant(), 1.0, false},
    };
    for (const auto& [a, b, same] : cases)
        EXPECT_EQ(sameGroup(a, b), same) << a.toString().toStdString() << " / " << b.toString().toStdString();
}

} // namespace
