#include "common/ModuleLimits.h"

#include <gtest/gtest.h>

TEST(ModuleLimitsTest, DurationsTheModuleCanWait) {
    const struct {
        const char* text;
        DurationFault expected;
    } cases[] = {
        {"0.5", DurationFault::None},
        {" 1.5 ", DurationFault::None},
        {"6553.5", DurationFault::None},
        {".1", DurationFault::None},
        {"2s", DurationFault::None},
        {"&H10", DurationFault::None},
        {"", DurationFault::Empty},
        {"  ", DurationFault::Empty},
        {"abc", DurationFault::Unreadable},
        {".", DurationFault::Unreadable},
        {"-", DurationFault::Unreadable},
        {"&X1", DurationFault::Unreadable},
        {"0", DurationFault::NotPositive},
        {"-1", DurationFault::NotPositive},
        {"0.0", DurationFault::NotPositive},
        {"6553.6", DurationFault::TooLong},
        {"9999", DurationFault::TooLong},
        {"1e9", DurationFault::TooLong},
        {"1e400", DurationFault::NotPositive},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(durationFault(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ModuleLimitsTest, CountsOutsideSixteenBitsAreRefusedNotWrapped) {
    EXPECT_EQ(storedCountOf(""), 0);
    EXPECT_EQ(storedCountOf("12"), 12);
    EXPECT_EQ(storedCountOf("32767"), 32767);
    EXPECT_EQ(storedCountOf("40000"), std::nullopt);
    EXPECT_EQ(storedCountOf("32767.6"), std::nullopt);
    EXPECT_EQ(storedCountOf("-1"), std::nullopt);
}
