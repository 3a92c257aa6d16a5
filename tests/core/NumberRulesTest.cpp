#include "core/NumberRules.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char* text;
    int expected;
};

class NumberRuleTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberRuleTest, ReadsLeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(numberRule(QString::fromUtf8(GetParam().text)), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Fields, NumberRuleTest,
                         ::testing::Values(NumberCase{"", 0}, NumberCase{"   ", 0}, NumberCase{"abc", 0},
                                           NumberCase{"05", 5}, NumberCase{" 7 ", 7}, NumberCase{"99", 99},
                                           NumberCase{"12abc", 12}, NumberCase{"2.5", 2}, NumberCase{"3.5", 4},
                                           NumberCase{"0.5", 0}, NumberCase{"1.5", 2}, NumberCase{"2.51", 3},
                                           NumberCase{"-2.5", -2}, NumberCase{"+4", 4}, NumberCase{".", 0},
                                           NumberCase{"1e3", 1}, NumberCase{"99999999999999999999", 32767},
                                           NumberCase{"-99999", -32768}, NumberCase{"６", 0}));

TEST(PadTwo, PadsSingleDigitsOnly) {
    const std::pair<int, const char*> cases[] = {{0, "00"}, {5, "05"}, {9, "09"}, {10, "10"}, {59, "59"}, {99, "99"},
                                                 {100, "100"}};
    for (const auto& [n, text] : cases)
        EXPECT_EQ(padTwo(n), QString::fromLatin1(text)) << n;
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-2.6), -3);
}

} // namespace
