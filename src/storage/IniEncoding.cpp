#include "storage/IniEncoding.h"

#include "common/Utf8.h"
#include "common/Windows1252.h"

namespace {

// Replaces invalid bytes with "?" so the result is always valid UTF-8.
std::string sanitizedUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return ansiToUtf8(utf8ToAnsi(bytes));
}

// Length of the valid UTF-8 sequence at bytes[i], 0 when there is none.
size_t utf8SequenceLength(std::string_view bytes, size_t i) {
    char32_t ignored = 0;
    return decodeUtf8At(bytes, i, ignored);
}

}  // namespace

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
