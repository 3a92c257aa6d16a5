#include "core/RandomSource.h"
#include "namelists/ListWorkbook.h"
#include "namelists/NameDrawWindow.h"
#include "namelists/PersonTable.h"
#include "namelists/ShownText.h"

#include <gtest/gtest.h>

#include <set>

using namespace namelists;

namespace {

TEST(CountFromCell, RoundsHalfToEvenAndRefusesWhatIsNoNumber) {
    struct Case {
        std::optional<QVariant> cell;
        std::optional<int16_t> count;
    } cases[] = {
        {QVariant(30.0), 30},
        {QVariant(2.5), 2},
        {QVariant(3.5), 4},
        {QVariant(-2.5), -2},
        {QVariant(10.49), 10},
        {QVariant(QStringLiteral("12")), 12},
        {QVariant(QStringLiteral("  7 ")), 7},
        {QVariant(QStringLiteral("4.5")), 4},
        {QVariant(QStringLiteral("1e2")), 100},
        {QVariant(), 0},                           // empty cell
        {QVariant(QStringLiteral("三十")), std::nullopt},
        {QVariant(QStringLiteral("30人")), std::nullopt},
        {QVariant(QStringLiteral("   ")), std::nullopt},
        {QVariant(40000.0), std::nullopt}, // beyond 16 bits
        {QVariant(-32768.0), -32768},
        {QVariant(32767.4), 32767},
        {std::nullopt, std::nullopt}, // the read failed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell ? c.cell->toString().toStdString() : std::string("<failed read>"));
        EXPECT_EQ(countFromCell(c.cell), c.count);
    }
}

TEST(EndOfRoundPause, GrowsWithTheListInSteps) {
    const std::pair<int, int> cases[] = {{-5, 0},   {0, 0},    {99, 0},   {100, 20}, {150, 20}, {199, 20},
                                         {200, 40}, {299, 40}, {300, 60}, {399, 60}, {400, 80}, {499, 80},
                                         {500, 100}, {600, 100}};
    for (const auto& [total, threshold] : cases)
        EXPECT_EQ(endOfRoundPause(total), threshold) << total;
}

TEST(PersonTable, PicksOnlyUndrawnPeopleAndNobodyWhenAllAreDrawn) {
    PersonTable people;
    RandomSource random(7);
    for (int k = 1; k <= 5; ++k)
        people.at(k)->available = true;
    people.setListed(5);
    people.at(2)->available = false;
    people.at(4)->available = false;
    std::set<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int k = people.randomPick(random, 5);
        ASSERT_TRUE(k == 1 || k == 3 || k == 5) << k;
        seen.insert(k);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 3, 5}));

    for (int k : {1, 3, 5})
        people.at(k)->available = false;
    EXPECT_EQ(people.randomPick(random, 5), 0);
    EXPECT_FALSE(people.anyAvailable(1, 5));
}

TEST(PersonTable, CountsOutsideTheTableNeverReachPastIt) {
    PersonTable people;
    RandomSource random(11);
    people.at(600)->available = true;
    EXPECT_EQ(people.randomPick(random, 600), 0); // nobody listed yet
    EXPECT_EQ(people.rollingPick(random, 600), 0);
    people.setListed(600);
    EXPECT_EQ(people.at(0), nullptr);
    EXPECT_EQ(people.at(601), nullptr);
    EXPECT_EQ(people.randomPick(random, 0), 0);
    EXPECT_EQ(people.randomPick(random, -3), 0);
    EXPECT_EQ(people.rollingPick(random, 0), 0);
    EXPECT_EQ(people.randomPick(random, 32000), 600); // capped at the table
    for (int i = 0; i < 200; ++i) {
        const int k = people.rollingPick(random, 32000);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 600);
    }
}

TEST(PersonTable, TheLastUndrawnOfSixHundredIsFoundAtOnce) {
    PersonTable people;
    RandomSource random(3);
    people.setListed(600);
    people.at(417)->available = true;
    EXPECT_EQ(people.randomPick(random, 600), 417);
}

TEST(ShownText, TrimsBlanksAndMakesControlsAndHugeTextsHarmless) {
    const QString longName(10000, u'长');
    struct Case {
        QString cell;
        QString shown;
    } cases[] = {
        {QStringLiteral("  张三  "), QStringLiteral("张三")},
        {QStringLiteral("李四"), QStringLiteral("李四")},
        {QStringLiteral("\t王五\r\n"), QStringLiteral("王五")},
        {QStringLiteral("赵\n六"), QStringLiteral("赵 六")},
        {QStringLiteral("a\u202Eb\u2066c"), QStringLiteral("abc")},
        {QString(QChar(0)) + QStringLiteral("x\u0007y"), QStringLiteral("x y")},
        {QStringLiteral("行\u2028分"), QStringLiteral("行 分")},
        {QStringLiteral("\u3000全角\u3000"), QStringLiteral("\u3000全角\u3000")}, // not a blank to trim
        {QString(), QString()},
        {QStringLiteral("   "), QString()},
        {longName, QString(kShownTextLimit - 1, u'长') + QChar(0x2026)},
        {QString(500, u' ') + longName + QString(500, u' '), QString(kShownTextLimit - 1, u'长') + QChar(0x2026)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shownText(c.cell), c.shown) << c.cell.left(20).toStdString();

    // A cut never splits a character outside the basic plane.
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString many = QString(kShownTextLimit - 2, u'x') + emoji + emoji;
    const QString cut = shownText(many);
    EXPECT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_FALSE(cut.at(cut.size() - 2).isHighSurrogate());
    // A lone half of a pair is shown as the replacement character.
    EXPECT_EQ(shownText(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")),
              QStringLiteral("a\uFFFDb"));
}

} // namespace
