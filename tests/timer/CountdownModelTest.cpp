#include "timer/CountdownModel.h"

#include <gtest/gtest.h>

namespace {

using Times = CountdownModel::Times;
using Verdict = CountdownModel::Verdict;

TEST(CountdownModel, ChecksTheTwentySecondAndTenSecondRules) {
    struct Case {
        Times t;
        Verdict expected;
    } cases[] = {
        {{0, 19, 0, 0}, Verdict::TooShort},         {{0, 20, 0, 10}, Verdict::Accepted},
        {{0, 20, 0, 11}, Verdict::ReminderTooLate}, {{1, 0, 0, 51}, Verdict::ReminderTooLate},
        {{1, 0, 0, 50}, Verdict::Accepted},         {{0, 0, 0, 0}, Verdict::TooShort},
        {{99, 99, 99, 89}, Verdict::Accepted},      {{1, 0, 0, 0}, Verdict::Accepted},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountdownModel::check(c.t), c.expected) << c.t.setMinutes << ":" << c.t.setSeconds;
}

TEST(CountdownModel, FirstTickShowsTheSetTimeAndZeroComesOnTickTotalPlusOne) {
    CountdownModel m;
    m.start({1, 0, 0, 30});
    std::vector<QString> shown;
    int zeroTick = 0, reminderTick = 0;
    for (int tick = 1; tick <= 61; ++tick) {
        const auto r = m.tick();
        shown.push_back(m.display());
        if (r.zeroReached)
            zeroTick = tick;
        if (r.reminderDue)
            reminderTick = tick;
    }
    EXPECT_EQ(shown[0], QStringLiteral("01 : 00"));
    EXPECT_EQ(shown[1], QStringLiteral("00 : 59"));
    EXPECT_EQ(shown[30], QStringLiteral("00 : 30"));
    EXPECT_EQ(shown[60], QStringLiteral("00 : 00"));
    EXPECT_EQ(zeroTick, 61);
    EXPECT_EQ(reminderTick, 31);
}

TEST(CountdownModel, ReminderOfZeroNeverFiresAndLongTimesCountFromTheTop) {
    CountdownModel m;
    m.start({99, 59, 0, 0});
    EXPECT_FALSE(m.tick().reminderDue);
    EXPECT_EQ(m.display(), QStringLiteral("99 : 59"));
    int ticks = 1;
    for (;;) {
        const auto r = m.tick();
        ++ticks;
        EXPECT_FALSE(r.reminderDue) << "at tick " << ticks;
        if (r.zeroReached)
            break;
    }
    EXPECT_EQ(ticks, 99 * 60 + 59 + 1);
}

TEST(CountdownModel, RestoreBringsBackTheTimesReadAtStart) {
    CountdownModel m;
    m.start({5, 7, 1, 2});
    for (int i = 0; i < 10; ++i)
        m.tick();
    m.restoreFromSnapshot();
    EXPECT_EQ(m.remainingMinutes, 5);
    EXPECT_EQ(m.remainingSeconds, 7);
    EXPECT_EQ(m.reminderMinutes, 1);
    EXPECT_EQ(m.reminderSeconds, 2);
}

} // namespace
