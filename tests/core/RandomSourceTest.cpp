#include "core/RandomSource.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(RandomSource, StirringNeverRestartsTheSequence) {
    RandomSource r(42);
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        r.stir(); // the clock barely moves between these calls
        seen.insert(r.next());
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(RandomSource, PicksStayWithinOneToCount) {
    RandomSource r(7);
    int lowest = 1000, highest = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = r.next();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        const int n = r.pick(5);
        lowest = std::min(lowest, n);
        highest = std::max(highest, n);
    }
    EXPECT_EQ(lowest, 1);
    EXPECT_EQ(highest, 5);
}

} // namespace
