#include "common/DisplayInterval.h"
#include "common/LeadingNumber.h"

#include <gtest/gtest.h>

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},           {"12abc", 12},    {"1\t2\n3 4", 1234}, {"- 3", -3},    {"+4", 4},
        {"-.5", -0.5},     {".", 0},         {"1,5", 1},          {"1.2.3", 1.2}, {"5;3", 5},
        {"1E+2", 100},     {"2.5d-1", 0.25}, {"1e+", 1},          {"&h1f;", 31},  {"&O17", 15},
        {"&o8", 0},        {"&X1", 0},       {"\r5", 0},          {"1e400", 0},   {"1e-400", 0},
        {"-1e300", -1e300}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.expected) << c.text;
    }
}

TEST(LeadingNumberTest, RoundsHalfToEvenAndGivesZeroWhenItDoesNotFit) {
    const struct {
        double value;
        int16_t expected;
    } cases[] = {{2.5, 2},       {3.5, 4},         {-2.5, -2},   {2.4999, 2},
                 {32767, 32767}, {-32768, -32768}, {32767.5, 0}, {-1e300, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundToInt16(c.value), c.expected) << c.value;
    }
}

TEST(DisplayIntervalTest, MillisecondsOfADurationText) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {{"1.25", 1250}, {"0,5", 0},          {"0.0025", 2},      {"0.0035", 4},
                 {"-1", 0},      {"86400", 86400000}, {"1e308", 86400000}};
    for (const auto& c : cases) {
        EXPECT_EQ(intervalOfDuration(c.text), c.expected) << c.text;
    }
}
