#pragma once

#include <cstddef>
#include <string_view>

// Decodes the UTF-8 sequence that starts at text[i] into `codePoint` and returns its length in
// bytes, or 0 when it is not valid (cut short, overlong, a surrogate, above U+10FFFF).
size_t decodeUtf8At(std::string_view text, size_t i, char32_t& codePoint);

bool isValidUtf8(std::string_view text);
