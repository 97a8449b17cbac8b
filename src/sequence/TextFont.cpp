#include "sequence/TextFont.h"

#include <algorithm>
#include <map>

#include "common/Utf8.h"
#include "sequence/TextFontGlyphs.h"

namespace {

// A drawing as row values; a drawing that is not seven rows of five marks lights nothing past
// its fault, and the font's tests catch it.
Glyph glyphOfDrawing(std::string_view rows) {
    Glyph glyph{};
    for (size_t row = 0; row < glyph.size() && !rows.empty(); ++row) {
        const std::string_view marks = rows.substr(0, rows.find('|'));
        for (size_t column = 0; column < marks.size() && column < kColumnCount; ++column) {
            if (marks[column] == '#') {
                glyph[row] = static_cast<int16_t>(glyph[row] | (1 << column));
            }
        }
        rows.remove_prefix(std::min(rows.size(), marks.size() + 1));
    }
    return glyph;
}

const std::map<char32_t, Glyph>& font() {
    static const std::map<char32_t, Glyph> glyphs = [] {
        std::map<char32_t, Glyph> map;
        for (const FontDrawing& drawing : fontDrawings()) {
            map.emplace(drawing.letter, glyphOfDrawing(drawing.rows));
        }
        return map;
    }();
    return glyphs;
}

// Spaces a French text may hold before ";", ":", "!", "?" or inside « »: drawn as a space.
bool isOtherSpace(char32_t letter) {
    return letter == U'\u00A0' || letter == U'\u202F' || letter == U'\t' || letter == U'\n';
}

// Typographic quotes and dashes a word processor puts in place of the keyboard's own.
char32_t plainFormOf(char32_t letter) {
    switch (letter) {
        case U'\u2018':
        case U'\u2019':
            return U'\'';
        case U'\u201C':
        case U'\u201D':
            return U'"';
        case U'\u2010':
        case U'\u2013':
        case U'\u2014':
            return U'-';
        case U'\u2026':
            return U'.';
        default:
            return isOtherSpace(letter) ? U' ' : letter;
    }
}

}  // namespace

std::optional<Glyph> glyphOf(char32_t letter) {
    const auto found = font().find(plainFormOf(letter));
    if (found == font().end()) {
        return std::nullopt;
    }
    return found->second;
}

std::u32string fontLetters() {
    std::u32string letters;
    for (const FontDrawing& drawing : fontDrawings()) {
        letters += drawing.letter;
    }
    return letters;
}

TextGlyphs glyphsOfText(std::string_view utf8) {
    TextGlyphs result;
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Sequence sequence = decodeUtf8At(utf8, i);
        const std::string_view bytes = utf8.substr(i, sequence.length);
        i += sequence.length;
        if (sequence.valid && sequence.codePoint == U'\r') {
            continue;  // a pasted line end; its "\n" is drawn as a space
        }
        const std::optional<Glyph> glyph =
            sequence.valid ? glyphOf(sequence.codePoint) : std::nullopt;
        if (glyph) {
            result.glyphs.push_back(*glyph);
            continue;
        }
        const std::string shown = sequence.valid ? std::string(bytes) : readableText(bytes);
        if (result.unknown.find(shown) == std::string::npos) {
            result.unknown += shown;
        }
    }
    return result;
}
