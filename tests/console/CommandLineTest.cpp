#include "console/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

class CommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineTest, Splits) {
    EXPECT_EQ(splitCommandLine(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"   ", {}},
                                           SplitCase{"make ", {"make"}},
                                           SplitCase{"make all", {"make", "all"}},
                                           SplitCase{"  make \t program  ", {"make", "program"}},
                                           SplitCase{"a \"b c\" d", {"a", "b c", "d"}},
                                           SplitCase{"a \"\" b", {"a", "", "b"}},
                                           SplitCase{"x\"y z\"w", {"xy zw"}},
                                           SplitCase{"a \"open end", {"a", "open end"}},
                                           SplitCase{"'single' \\n", {"'single'", "\\n"}},
                                           SplitCase{"caf\xC3\xA9 \"mod\xC3\xA8le dir\"",
                                                     {"caf\xC3\xA9", "mod\xC3\xA8le dir"}}));

}  // namespace
