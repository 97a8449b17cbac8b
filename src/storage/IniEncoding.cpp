#include "storage/IniEncoding.h"

#include "common/Utf8.h"
#include "common/Windows1252.h"

namespace {

// Replaces invalid parts with "?" so the result is always valid UTF-8.
std::string sanitizedUtf8(std::string_view bytes) {
    return replaceInvalidUtf8(bytes, "?");
}

}  // namespace

IniEncoding detectIniEncoding(std::string_view fileBytes) {
    if (fileBytes.starts_with(kUtf8Bom)) {
        return IniEncoding::Utf8WithBom;
    }
    bool multiByte = false;
    for (size_t i = 0; i < fileBytes.size();) {
        const Utf8Sequence sequence = decodeUtf8At(fileBytes, i);
        if (!sequence.valid) {
            return IniEncoding::Ansi;
        }
        multiByte = multiByte || sequence.length > 1;
        i += sequence.length;
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
        end += decodeUtf8At(text, end).length;
    }
    return text.substr(0, end);
}
