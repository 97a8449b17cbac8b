#include "console/ChunkedText.h"

#include <gtest/gtest.h>

namespace {

TEST(ChunkedTextTest, JoinsPiecesAcrossBlocksInOrder) {
    ChunkedText text;
    std::string expected;
    for (size_t i = 0; i < 300; ++i) {
        const std::string piece((i * 7919) % 70000, static_cast<char>('a' + i % 26));
        text.append(piece);
        expected += piece;
        if (i % 97 == 0) {
            ASSERT_EQ(text.str(), expected) << i;  // joining midway, then appending more
        }
    }
    EXPECT_EQ(text.str(), expected);
}

TEST(ChunkedTextTest, ClearEmptiesAndStartsAgain) {
    ChunkedText text;
    text.append(std::string(5'000'000, 'x'));
    text.clear();
    EXPECT_EQ(text.str(), "");
    text.append("abc");
    EXPECT_EQ(text.str(), "abc");
}

}  // namespace
