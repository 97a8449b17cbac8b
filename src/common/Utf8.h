#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One UTF-8 sequence as read from a text.
struct Utf8Sequence {
    char32_t codePoint = 0;  // valid sequences only
    // Bytes of the sequence; for an invalid one, the bytes of its longest valid beginning (at
    // least 1), so that a reader replaces each maximal invalid part once, as Unicode advises.
    size_t length = 1;
    bool valid = false;
    // Invalid only because the text ends inside it: more bytes could still complete it.
    bool truncated = false;
};

// Reads the sequence that starts at text[i] (i < text.size()). Invalid: a byte that cannot
// start a sequence, a sequence cut short, an overlong form, a surrogate, above U+10FFFF.
Utf8Sequence decodeUtf8At(std::string_view text, size_t i);

bool isValidUtf8(std::string_view text);

// The text with each maximal invalid part replaced by `replacement`.
std::string replaceInvalidUtf8(std::string_view text, std::string_view replacement);

// The text fit to show a person: each maximal invalid part (a file name in another encoding)
// becomes "�", so a message stays valid UTF-8 and still shows where the name differs.
std::string readableText(std::string_view text);
