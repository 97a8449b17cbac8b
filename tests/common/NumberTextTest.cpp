#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

TEST(FormatNumberTest, WritesTheShortestFormWithFifteenDigits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {{0.3 * 10, "3"},
                 {1.25 * 10, "12.5"},
                 {0.5 * 10, "5"},
                 {0, "0"},
                 {-0.0, "0"},
                 {31, "31"},
                 {-0.25, "-0.25"},
                 {0.1 + 0.2, "0.3"},
                 {123456789012345.0, "123456789012345"},
                 {1.0 / 3, "0.333333333333333"},
                 {1e20, "1e+20"},
                 {60, "60"}};
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value), c.expected) << c.value;
    }
}

TEST(FormatNumberTest, NonFiniteValuesWriteAsZero) {
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(FormatNumberTest, IgnoresADecimalCommaLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(formatNumber(12.5), "12.5");
    if (previous != nullptr) {
        std::setlocale(LC_NUMERIC, "C");
    }
}
