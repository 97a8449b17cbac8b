#include "common/DisplayInterval.h"
#include "common/LeadingNumber.h"

#include <gtest/gtest.h>

#include <string>

struct LeadingCase {
    std::string text;
    double expected;
};

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(LeadingCase{"", 0}, LeadingCase{"x", 0}, LeadingCase{"12", 12},
                    LeadingCase{" 12;", 12}, LeadingCase{" 1 2", 12}, LeadingCase{"1\t2\n3", 123},
                    LeadingCase{"1e3", 1000}, LeadingCase{"1E+2", 100}, LeadingCase{"2.5e-1", 0.25},
                    LeadingCase{"1d2", 100}, LeadingCase{"1e", 1}, LeadingCase{"1e+", 1},
                    LeadingCase{"-3", -3}, LeadingCase{"- 3", -3}, LeadingCase{"+4", 4},
                    LeadingCase{".5", 0.5}, LeadingCase{"-.5", -0.5}, LeadingCase{".", 0},
                    LeadingCase{"-", 0}, LeadingCase{"1,5", 1}, LeadingCase{"0,5", 0},
                    LeadingCase{"1.2.3", 1.2}, LeadingCase{"5;3", 5}, LeadingCase{"12abc", 12},
                    LeadingCase{"&H1F", 31}, LeadingCase{"&h1f;", 31}, LeadingCase{"&O17", 15},
                    LeadingCase{"&o8", 0}, LeadingCase{"&H", 0}, LeadingCase{"&X1", 0},
                    LeadingCase{"&HFFFFFFFF", 4294967295.0}, LeadingCase{"\r5", 0},
                    LeadingCase{"1e308", 1e308}, LeadingCase{"1e400", 0},
                    LeadingCase{"-1e300", -1e300}, LeadingCase{"1e-400", 0}));

struct RoundCase {
    double value;
    int16_t expected;
};

class RoundToInt16Test : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundToInt16Test, RoundsHalfToEvenAndGivesZeroWhenItDoesNotFit) {
    EXPECT_EQ(roundToInt16(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundToInt16Test,
                         testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{-2.5, -2},
                                         RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.4999, 2},
                                         RoundCase{-3, -3}, RoundCase{32767, 32767},
                                         RoundCase{-32768, -32768}, RoundCase{32767.5, 0},
                                         RoundCase{99999, 0}, RoundCase{-1e300, 0},
                                         RoundCase{1e308, 0}, RoundCase{4294967295.0, 0}));

TEST(RoundToInt16Test, OutOfRangeTextsReadAsZero) {
    for (const char* text : {"99999", "-1e300", "1e308", "&HFFFFFFFF", "1e400", "32768"}) {
        EXPECT_EQ(roundToInt16(leadingNumber(text)), 0) << text;
    }
}

TEST(IntervalOfDurationTest, MillisecondsOfADurationText) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {{"0.5", 500},
                 {"2", 2000},
                 {"1.25", 1250},
                 {"0,5", 0},
                 {"", 0},
                 {"x", 0},
                 {"0.0004", 0},
                 {"0.0025", 2},
                 {"0.0035", 4},
                 {"-1", 0},
                 {"86400", 86400000},
                 {"1e9", 86400000},
                 {"1e308", 86400000},
                 {"-1e300", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(intervalOfDuration(c.text), c.expected) << c.text;
    }
}
