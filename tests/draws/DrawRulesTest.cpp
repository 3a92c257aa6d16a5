#include "draws/DrawCount.h"
#include "draws/NumberPool.h"

#include "core/RandomSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <set>
#include <vector>

namespace {

using namespace draws;

TEST(DrawCount, TheConfirmedEntryIsClampedToTwoToSixHundred) {
    const struct {
        const char* entry;
        int count;
    } cases[] = {
        {"", 2},      {"0", 2},     {"1", 2},   {"2", 2},   {"5", 5},        {"30", 30},
        {"600", 600}, {"601", 600}, {"999", 600}, {" 12", 12}, {"12a", 12}, {"1a2", 2},
        {"a12", 2},   {"-5", 2},    {"007", 7}, {"99999999999999999999", 600},
    };
    for (const auto& c : cases)
        EXPECT_EQ(confirmedDrawCount(QString::fromUtf8(c.entry)), c.count) << '"' << c.entry << '"';
}

TEST(DrawCount, TheHandedOverTotalIsClampedTheSameWay) {
    const struct {
        float total;
        int count;
    } cases[] = {
        {0.0f, 2},    {1.0f, 2},     {1.5f, 2},   {2.0f, 2},     {30.0f, 30},
        {30.7f, 30},  {600.0f, 600}, {601.0f, 600}, {1e9f, 600}, {-3.0f, 2},
        {std::numeric_limits<float>::quiet_NaN(), 2}, {std::numeric_limits<float>::infinity(), 600},
    };
    for (const auto& c : cases)
        EXPECT_EQ(orderDrawCount(c.total), c.count) << c.total;
}

TEST(DrawCount, TheEntryFilterTestsTheFirstAndTheLastCharacter) {
    const struct {
        const char* entry;
        int failed;
    } cases[] = {
        {"", 0},   {"5", 0},  {"123", 0}, {"12a", 1}, {"a12", 1},
        {"a", 2},  {"ab", 2}, {"a1b", 2}, {"1a2", 0}, // the middle is never looked at
        {"１", 2},  // a full-width digit from an input method is not a digit here
        {" 1", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countEntryFailedChecks(QString::fromUtf8(c.entry)), c.failed) << '"' << c.entry << '"';
}

TEST(NumberPool, HoldsOneToCountUntilTakenAndRefills) {
    NumberPool pool(5);
    EXPECT_EQ(pool.count(), 5);
    EXPECT_EQ(pool.undrawnCount(), 5);
    for (int n : {0, 6, -1, 601})
        EXPECT_FALSE(pool.isUndrawn(n)) << n;
    pool.take(3);
    pool.take(3);
    pool.take(9); // outside the round: ignored
    EXPECT_FALSE(pool.isUndrawn(3));
    EXPECT_TRUE(pool.isUndrawn(5));
    EXPECT_EQ(pool.undrawnCount(), 4);
    for (int n : {1, 2, 4, 5})
        pool.take(n);
    EXPECT_TRUE(pool.exhausted());
    RandomSource random(1);
    EXPECT_EQ(pool.drawUndrawn(random), 0) << "an exhausted pool draws nothing instead of looping";
    pool.refill();
    EXPECT_EQ(pool.undrawnCount(), 5);

    EXPECT_EQ(NumberPool(600).undrawnCount(), 600);
    EXPECT_EQ(NumberPool(1000).count(), NumberPool::capacity);
}

// Draws a whole round the way the window does: draw, take, until exhausted.
std::vector<int> drawRound(NumberPool& pool, RandomSource& random) {
    std::vector<int> order;
    while (!pool.exhausted()) {
        const int n = pool.drawUndrawn(random);
        pool.take(n);
        order.push_back(n);
    }
    return order;
}

TEST(NumberPool, ARoundDrawsEveryNumberExactlyOnce) {
    RandomSource random;
    for (int count : {2, 3, 37, 600}) {
        NumberPool pool(count);
        std::vector<int> order = drawRound(pool, random);
        ASSERT_EQ(order.size(), static_cast<size_t>(count));
        std::sort(order.begin(), order.end());
        std::vector<int> expected(count);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(order, expected) << count;
    }
}

// Chi-square statistic of observed counts against equal expectations.
double chiSquare(const std::vector<int>& observed) {
    const double total = std::accumulate(observed.begin(), observed.end(), 0.0);
    const double expected = total / static_cast<double>(observed.size());
    double chi = 0;
    for (int o : observed)
        chi += (o - expected) * (o - expected) / expected;
    return chi;
}

// The clock-stirred generator as the program runs it (seeded from the system), so these
// tests see the draws a user gets. The thresholds are exceeded by chance far less often
// than once in a million runs (6 and 23 degrees of freedom), while a draw that favours
// some undrawn numbers, or ever repeats one, lands far above them.
TEST(NumberPool, DrawsAreUniformOverTheUndrawnNumbers) {
    RandomSource random;
    NumberPool pool(10);
    for (int n : {2, 5, 7, 10})
        pool.take(n);
    const std::vector<int> undrawn{1, 3, 4, 6, 8, 9};
    std::map<int, int> seen;
    const int draws = 60000;
    for (int i = 0; i < draws; ++i)
        ++seen[pool.drawUndrawn(random)];
    std::vector<int> observed;
    for (int n : undrawn)
        observed.push_back(seen[n]);
    for (int n : {0, 2, 5, 7, 10})
        EXPECT_EQ(seen.count(n), 0u) << n << " was drawn again";
    // Six numbers: 5 degrees of freedom; P(chi2 > 35) < 2e-6.
    EXPECT_LT(chiSquare(observed), 35.0);
}

TEST(NumberPool, EveryOrderOfARoundIsEquallyLikely) {
    RandomSource random;
    std::map<std::vector<int>, int> orders;
    const int rounds = 24000;
    for (int i = 0; i < rounds; ++i) {
        NumberPool pool(4);
        ++orders[drawRound(pool, random)];
    }
    ASSERT_EQ(orders.size(), 24u) << "all 4! orders occur";
    std::vector<int> observed;
    for (const auto& [order, n] : orders)
        observed.push_back(n);
    // 23 degrees of freedom; P(chi2 > 71) < 1e-6.
    EXPECT_LT(chiSquare(observed), 71.0);
}

TEST(NumberPool, ManyDrawsWithinOneClockTickStillDiffer) {
    // Stirring between tries never restarts the sequence: back-to-back draws from a full
    // pool of 600 are not stuck on one value.
    RandomSource random;
    NumberPool pool(600);
    std::set<int> values;
    for (int i = 0; i < 200; ++i)
        values.insert(pool.drawUndrawn(random));
    EXPECT_GT(values.size(), 100u);
}

} // namespace
