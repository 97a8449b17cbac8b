#include "sequence/TextFont.h"

#include <gtest/gtest.h>

#include <set>

#include "sequence/TextFontGlyphs.h"

namespace {

// What a pupil may type: every letter here must have a drawing.
const std::u32string kRequired =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
    U"éèêëàâçîïôùûüœÉÈÊËÀÂÇÎÏÔÙÛÜŒ .,;:!?'\"-()";

TEST(TextFontTest, CoversWhatAFrenchPupilTypes) {
    for (const char32_t letter : kRequired) {
        EXPECT_TRUE(glyphOf(letter).has_value()) << static_cast<uint32_t>(letter);
    }
    EXPECT_EQ(glyphOf(U'’'), glyphOf(U'\''));
    EXPECT_EQ(glyphOf(U'\u202F'), glyphOf(U' '));
    EXPECT_FALSE(glyphOf(U'ω').has_value());
}

// Each drawing is seven rows of five marks, so every glyph fits the module's matrix.
TEST(TextFontTest, EveryDrawingFitsFiveColumnsBySevenRows) {
    for (const FontDrawing& drawing : fontDrawings()) {
        const std::string_view rows = drawing.rows;
        EXPECT_EQ(rows.size(), 7u * 5u + 6u) << static_cast<uint32_t>(drawing.letter);
        EXPECT_EQ(rows.find_first_not_of(".#|"), std::string_view::npos);
        for (size_t bar = 5; bar < rows.size(); bar += 6) {
            EXPECT_EQ(rows[bar], '|') << static_cast<uint32_t>(drawing.letter);
        }
    }
}

// No two letters look alike, so a capital never reads as its lowercase (É and é, Œ and œ),
// and only the space is dark.
TEST(TextFontTest, LettersAreDistinctAndLit) {
    std::set<Glyph> seen;
    for (const char32_t letter : fontLetters()) {
        const Glyph glyph = *glyphOf(letter);
        EXPECT_TRUE(seen.insert(glyph).second) << static_cast<uint32_t>(letter);
        EXPECT_EQ(glyph == Glyph{}, letter == U' ') << static_cast<uint32_t>(letter);
        for (const int16_t row : glyph) {
            EXPECT_TRUE(row >= 0 && row < 32);
        }
    }
    EXPECT_EQ(fontLetters().size(), fontDrawings().size());
}

TEST(TextFontTest, ATextBecomesOneGlyphPerLetterAndNamesTheOthersOnce) {
    const TextGlyphs text = glyphsOfText(
        "\xC3\xA7"
        "a\r\nva \xCF\x89\xCF\x89 \xFF!");
    EXPECT_EQ(text.glyphs.size(), 8u);  // "\r" dropped, "\n" a space, unknown ones skipped
    EXPECT_EQ(text.glyphs.front(), *glyphOf(U'ç'));
    EXPECT_EQ(text.unknown, "\xCF\x89\xEF\xBF\xBD");
}

}  // namespace
