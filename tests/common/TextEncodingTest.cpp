#include "common/Utf8.h"
#include "common/Windows1252.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(Windows1252Test, ConvertsBothWays) {
    EXPECT_EQ(utf8ToAnsi("Caractères €…œ"), "Caract\xE8res \x80\x85\x9C");
    EXPECT_EQ(utf8ToAnsi("日😀 a\xC3"), "?? a?");
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);  // even the five undefined bytes
}

TEST(Utf8Test, EachMaximalInvalidPartIsReplacedOnce) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {{"é€😀", "é€😀"},
                 {"a\x80z", "a?z"},
                 {"\xFF\xC0\xC1", "???"},
                 {"\xE0\x80\xAF", "???"},       // overlong
                 {"\xED\xA0\x80", "???"},       // surrogate
                 {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
                 {"\xE2\x82z", "?z"},           // cut short
                 {"ab\xF0\x9F\x98", "ab?"}};
    for (const auto& c : cases) {
        EXPECT_EQ(replaceInvalidUtf8(c.text, "?"), c.expected) << c.text;
    }
    EXPECT_TRUE(decodeUtf8At("ab\xF0\x9F\x98", 2).truncated);
    EXPECT_FALSE(decodeUtf8At("\xE2\x82z", 0).truncated);
    EXPECT_EQ(static_cast<uint32_t>(decodeUtf8At("€", 0).codePoint), 0x20ACu);
}
