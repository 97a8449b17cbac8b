#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CharacterRecord.h"

// The built-in 5 × 7 font with which a typed text becomes characters: rows A (top) to G, bit i
// of a row the dot of column i, column 0 leftmost, as in a character record.
using Glyph = std::array<int16_t, kRowCount>;

// The glyph of one letter: A–Z, a–z, 0–9, the French accented letters (é è ê ë à â ä ç î ï ô ö
// ù û ü ÿ œ æ and their capitals), space and common punctuation. Nothing for any other.
std::optional<Glyph> glyphOf(char32_t letter);

// Every letter the font draws, in the order of its table.
std::u32string fontLetters();

// A UTF-8 text as glyphs, one per letter; `unknown` lists, once each and in order of first
// appearance, the letters the font does not draw (UTF-8; an invalid byte shows as "�").
struct TextGlyphs {
    std::vector<Glyph> glyphs;
    std::string unknown;
};
TextGlyphs glyphsOfText(std::string_view utf8);
