// The pieces the runner is built from: output storage, command-line words, text decoding.
#include <gtest/gtest.h>

#include "console/ChunkedText.h"
#include "console/CommandLine.h"
#include "console/LocaleText.h"

namespace {

const std::string kBad = "\xEF\xBF\xBD";

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
    text.clear();
    text.append("abc");
    EXPECT_EQ(text.str(), "abc");
}

TEST(CommandLineTest, BlanksSeparateWordsAndQuotesGroupThem) {
    const struct {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {{"", {}},
                 {"  make \t program  ", {"make", "program"}},
                 {"a \"b c\" \"\" d", {"a", "b c", "", "d"}},
                 {"x\"y z\"w", {"xy zw"}},
                 {"a \"open end", {"a", "open end"}}};
    for (const auto& c : cases) {
        EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;
    }
}

TEST(LocaleDecoderTest, UndecodableBytesAreReplacedAndCutCharactersJoined) {
    LocaleDecoder utf8("UTF-8");
    EXPECT_EQ(utf8.decode("ab\xF0\x9F"), "ab");
    EXPECT_EQ(utf8.decode("\x98"), "");
    EXPECT_EQ(utf8.decode("\x80!\xFF"), "\xF0\x9F\x98\x80!" + kBad);
    EXPECT_EQ(utf8.decode("\xE2\x82"), "");
    EXPECT_EQ(utf8.finish(), kBad);

    LocaleDecoder utf16("UTF-16LE");
    EXPECT_EQ(utf16.decode(std::string("A\0\xE9", 3)), "A");
    EXPECT_EQ(utf16.decode(std::string("\0B\0", 3)),
              "\xC3\xA9"
              "B");
    EXPECT_EQ(utf16.decode("C"), "");
    EXPECT_EQ(utf16.finish(), kBad);
}

TEST(LocaleDecoderTest, EachCharsetDecodesItsOwnWay) {
    EXPECT_EQ(LocaleDecoder("ANSI_X3.4-1968").decode("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(LocaleDecoder("ISO-8859-1").decode("mod\xE8le"), "mod\xC3\xA8le");
    EXPECT_EQ(LocaleDecoder("SHIFT_JIS")
                  .decode("a\xFF"
                          "b"),
              "a" + kBad + "b");
    EXPECT_EQ(LocaleDecoder("NO-SUCH-CHARSET").decode("\xC3\xA9\xFF"), "\xC3\xA9" + kBad);
    EXPECT_EQ(toLocaleCharset("mod\xC3\xA8le"), "mod\xC3\xA8le");
}

}  // namespace
