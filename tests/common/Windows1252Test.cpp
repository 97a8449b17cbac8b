#include "common/Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252Test, AccentedLettersAreOneByte) {
    EXPECT_EQ(utf8ToAnsi("Caractères"), "Caract\xE8res");
    EXPECT_EQ(ansiToUtf8("Caract\xE8res"), "Caractères");
    EXPECT_EQ(utf8ToAnsi("modèle Maître réussie"), "mod\xE8le Ma\xEEtre r\xE9ussie");
}

TEST(Windows1252Test, TheHighControlRangeMapsToItsSymbols) {
    EXPECT_EQ(ansiToUtf8("\x80\x85\x9C"), "€…œ");
    EXPECT_EQ(utf8ToAnsi("€…œ"), "\x80\x85\x9C");
}

TEST(Windows1252Test, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);
}

TEST(Windows1252Test, UnmappableAndInvalidTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToAnsi("a€b"),
              "a\x80"
              "b");
    EXPECT_EQ(utf8ToAnsi("日本"), "??");
    EXPECT_EQ(utf8ToAnsi("😀"), "?");
    EXPECT_EQ(utf8ToAnsi("a\xC3"), "a?");          // cut sequence
    EXPECT_EQ(utf8ToAnsi("\xC0\xAF"), "??");       // overlong
    EXPECT_EQ(utf8ToAnsi("\xED\xA0\x80"), "???");  // surrogate
}
