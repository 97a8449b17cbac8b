#include "console/LocaleText.h"

#include <gtest/gtest.h>

#include "console/Utf8Stream.h"

namespace {

const std::string kBad = "\xEF\xBF\xBD";

struct Utf8Case {
    const char* name;
    std::vector<std::string> pieces;
    std::string text;
};

class Utf8StreamTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8StreamTest, Decodes) {
    Utf8Stream stream;
    std::string text;
    for (const std::string& piece : GetParam().pieces)
        text += stream.decode(piece);
    text += stream.finish();
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8StreamTest,
    ::testing::Values(
        Utf8Case{"Ascii", {"make: Aucune"}, "make: Aucune"},
        Utf8Case{"ValidMultibyte",
                 {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
                 "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        Utf8Case{"TwoByteCut", {"ab\xC3", "\xA9z"}, "ab\xC3\xA9z"},
        Utf8Case{"FourByteCutTwice", {"\xF0\x9F", "\x98", "\x80!"}, "\xF0\x9F\x98\x80!"},
        Utf8Case{"CutAtTheEnd", {"ab\xE2\x82"}, "ab" + kBad},
        Utf8Case{"LoneContinuation", {"a\x80z"}, "a" + kBad + "z"},
        Utf8Case{"InvalidLead", {"\xFF\xC0\xC1"}, kBad + kBad + kBad},
        Utf8Case{"Overlong", {"\xE0\x80\xAF"}, kBad + kBad + kBad},
        Utf8Case{"Surrogate", {"\xED\xA0\x80"}, kBad + kBad + kBad},
        Utf8Case{"AboveUnicode", {"\xF4\x90\x80\x80"}, kBad + kBad + kBad + kBad},
        Utf8Case{"TruncatedThenAscii", {"\xE2\x82z"}, kBad + "z"},
        Utf8Case{"Latin1Byte", {"mod\xE8le"}, "mod" + kBad + "le"},
        Utf8Case{
            "LongAsciiRunThenBad", {std::string(40, 'a') + "\xFF"}, std::string(40, 'a') + kBad}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(LocaleDecoderTest, AsciiLocaleKeepsUtf8) {
    LocaleDecoder decoder("ANSI_X3.4-1968");
    EXPECT_EQ(decoder.decode("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(LocaleDecoderTest, SingleByteCharsetIsConverted) {
    LocaleDecoder decoder("ISO-8859-1");
    EXPECT_EQ(decoder.decode("mod\xE8le"), "mod\xC3\xA8le");
    EXPECT_EQ(decoder.finish(), "");
}

TEST(LocaleDecoderTest, CharacterCutBetweenPiecesIsJoined) {
    LocaleDecoder decoder("UTF-16LE");
    EXPECT_EQ(decoder.decode(std::string("A\0\xE9", 3)), "A");
    EXPECT_EQ(decoder.decode(std::string("\0B\0", 3)),
              "\xC3\xA9"
              "B");
    EXPECT_EQ(decoder.decode(std::string("C", 1)), "");
    EXPECT_EQ(decoder.finish(), kBad);
}

TEST(LocaleDecoderTest, UndecodableBytesAreReplaced) {
    LocaleDecoder decoder("UTF-8");
    EXPECT_EQ(decoder.decode("a\xFF"
                             "b"),
              "a" + kBad + "b");
    LocaleDecoder shiftJis("SHIFT_JIS");
    EXPECT_EQ(shiftJis.decode("a\xFF"
                              "b"),
              "a" + kBad + "b");
}

TEST(LocaleDecoderTest, UnknownCharsetDecodesAsUtf8) {
    LocaleDecoder decoder("NO-SUCH-CHARSET");
    EXPECT_EQ(decoder.decode("\xC3\xA9\xFF"), "\xC3\xA9" + kBad);
}

TEST(LocaleTextTest, ToLocaleCharsetKeepsUtf8InThisLocale) {
    EXPECT_EQ(toLocaleCharset("mod\xC3\xA8le"), "mod\xC3\xA8le");
}

}  // namespace
