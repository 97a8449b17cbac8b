#include "common/LeadingNumber.h"
#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>

#include "TestFiles.h"

TEST(NumberTextTest, WritesTheShortestFormWithFifteenDigits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {{1.25 * 10, "12.5"},
                 {-0.0, "0"},
                 {-0.25, "-0.25"},
                 {0.1 + 0.2, "0.3"},
                 {1.0 / 3, "0.333333333333333"},
                 {1e20, "1e+20"},
                 {std::numeric_limits<double>::infinity(), "0"},
                 {std::numeric_limits<double>::quiet_NaN(), "0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value), c.expected) << c.value;
    }
}

// A French desktop writes numbers with a decimal comma; files and firmware must not.
TEST(NumberTextTest, ADecimalCommaLocaleChangesNothing) {
#ifdef _WIN32
    // The C runtime of Windows has French built in.
    const char* french = "French";
#else
    const TempFolder locales;
    const std::string make =
        "localedef -i fr_FR -f UTF-8 '" + locales.file("fr_FR.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        GTEST_SKIP() << "localedef cannot make fr_FR.UTF-8 here (Debian package \"locales\")";
    }
    ::setenv("LOCPATH", locales.path().c_str(), 1);
    const char* french = "fr_FR.UTF-8";
#endif
    ASSERT_NE(std::setlocale(LC_NUMERIC, french), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(formatNumber(12.5), "12.5");
    EXPECT_EQ(leadingNumber("12.5"), 12.5);
    std::setlocale(LC_NUMERIC, "C");
#ifndef _WIN32
    ::unsetenv("LOCPATH");
#endif
}
