#include "common/Utf8.h"

#include <cstdint>

size_t decodeUtf8At(std::string_view text, size_t i, char32_t& codePoint) {
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t length = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1Fu, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0Fu, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    codePoint = cp;
    return length;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        char32_t ignored = 0;
        const size_t length = decodeUtf8At(text, i, ignored);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}
