#include "firmware/TextBox.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "common/Utf8.h"

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(std::string_view text, std::size_t at, std::string_view what) {
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (foldAscii(text[at + i]) != foldAscii(what[i])) {
            return false;
        }
    }
    return true;
}

bool isWordCodePoint(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') ||
        c == U'_') {
        return true;
    }
    if (c >= 0xC0 && c <= 0xFF) {
        return c != 0xD7 && c != 0xF7;  // × and ÷
    }
    switch (c) {
        case 0xAA:
        case 0xB5:
        case 0xBA:  // ª µ º
        case 0x152:
        case 0x153:
        case 0x160:
        case 0x161:
        case 0x178:
        case 0x17D:
        case 0x17E:
        case 0x192:
            return true;
        default:
            return false;
    }
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The character that ends at `end`; a malformed sequence counts as a non-letter.
bool isWordSequenceBefore(std::string_view text, std::size_t begin, std::size_t end) {
    const Utf8Sequence sequence = decodeUtf8At(text, begin);
    return sequence.valid && begin + sequence.length == end && isWordCodePoint(sequence.codePoint);
}

bool wordCharacterBefore(std::string_view text, std::size_t at) {
    if (at == 0) {
        return false;
    }
    std::size_t begin = at - 1;
    while (begin > 0 && at - begin < 4 && isContinuation(text[begin])) {
        --begin;
    }
    return isWordSequenceBefore(text, begin, at);
}

bool wordCharacterAfter(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return false;
    }
    const Utf8Sequence sequence = decodeUtf8At(text, at);
    return sequence.valid && isWordCodePoint(sequence.codePoint);
}

}  // namespace

int32_t TextBox::size32() const {
    return static_cast<int32_t>(std::min<std::size_t>(text_.size(), INT32_MAX));
}

SystemError TextBox::FileName(const std::string& path) {
    std::string loaded;
    SystemError status = readTextFile(path, loaded);
    if (!status.failed()) {
        Text(std::move(loaded));
    }
    return status;
}

int32_t TextBox::Find(std::string_view what, int32_t start, int options) {
    if (what.empty() || start < 0 || start > size32()) {
        return -1;
    }
    const bool matchCase = (options & MatchCase) != 0;
    const bool wholeWord = (options & WholeWord) != 0;
    const std::string_view text =
        std::string_view(text_).substr(0, static_cast<std::size_t>(size32()));
    for (std::size_t at = static_cast<std::size_t>(start); at + what.size() <= text.size(); ++at) {
        if (matchCase) {
            // An exact search can jump to the next occurrence; any case tests each position.
            at = text.find(what, at);
            if (at == std::string_view::npos) {
                return -1;
            }
        } else if (!equalsIgnoringAsciiCase(text, at, what)) {
            continue;
        }
        if (wholeWord &&
            (wordCharacterBefore(text, at) || wordCharacterAfter(text, at + what.size()))) {
            continue;
        }
        selStart_ = static_cast<int32_t>(at);
        selLength_ = static_cast<int32_t>(what.size());
        return selStart_;
    }
    return -1;
}

void TextBox::SelStart(int32_t index) {
    selStart_ = std::clamp(index, 0, size32());
    selLength_ = 0;
}

void TextBox::SelLength(int32_t length) {
    selLength_ = std::clamp(length, 0, size32() - selStart_);
}

void TextBox::SelText(std::string_view text) {
    text_.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), text);
    selStart_ = static_cast<int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(selStart_) + text.size(), INT32_MAX));
    selLength_ = 0;
}

SystemError TextBox::SaveFile(const std::string& path, int format) const {
    if (format != PlainText) {
        return {path, ENOTSUP};
    }
    return writeTextFileAtomically(path, text_);
}

void TextBox::Text(std::string text) {
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
}

void TextBox::append(std::string_view chunk) {
    text_.append(chunk);
}
