#include "storage/IniEncoding.h"

#include <cstdint>

#include "common/Windows1252.h"

namespace {

// Length of the valid UTF-8 sequence at bytes[i], 0 when there is none.
size_t utf8SequenceLength(std::string_view bytes, size_t i) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    size_t length = 0;
    uint32_t cp = 0;
    uint32_t min = 0;
    if (lead < 0x80) {
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
    if (i + length > bytes.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// Replaces invalid bytes with "?" so the result is always valid UTF-8.
std::string sanitizedUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return ansiToUtf8(utf8ToAnsi(bytes));
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

IniEncoding detectIniEncoding(std::string_view fileBytes) {
    if (fileBytes.starts_with(kUtf8Bom)) {
        return IniEncoding::Utf8WithBom;
    }
    bool multiByte = false;
    for (size_t i = 0; i < fileBytes.size();) {
        const size_t length = utf8SequenceLength(fileBytes, i);
        if (length == 0) {
            return IniEncoding::Ansi;
        }
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte ? IniEncoding::Utf8 : IniEncoding::Ansi;
}

std::string textToFile(std::string_view utf8, IniEncoding encoding) {
    return encoding == IniEncoding::Ansi ? utf8ToAnsi(utf8) : sanitizedUtf8(utf8);
}

std::string valueFromFile(std::string_view stored, IniEncoding encoding, size_t maxCharacters) {
    if (encoding == IniEncoding::Ansi) {
        return ansiToUtf8(stored.substr(0, maxCharacters));
    }
    const std::string text = sanitizedUtf8(stored);
    size_t end = 0;
    for (size_t count = 0; end < text.size() && count < maxCharacters; ++count) {
        end += utf8SequenceLength(text, end);
    }
    return text.substr(0, end);
}
