#include "common/Utf8.h"

namespace {

// Length of the sequence a lead byte starts and the allowed range of its second byte, which
// rules out overlong forms, surrogates and code points above U+10FFFF. Length 0: not a lead byte.
struct Lead {
    size_t length;
    unsigned char low;
    unsigned char high;
};

Lead leadOf(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF)
        return {2, 0x80, 0xBF};
    if (c == 0xE0)
        return {3, 0xA0, 0xBF};
    if (c == 0xED)
        return {3, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF)
        return {3, 0x80, 0xBF};
    if (c == 0xF0)
        return {4, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3)
        return {4, 0x80, 0xBF};
    if (c == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

Utf8Sequence decodeUtf8At(std::string_view text, size_t i) {
    const auto first = static_cast<unsigned char>(text[i]);
    if (first < 0x80)
        return {first, 1, true, false};
    const Lead lead = leadOf(first);
    if (lead.length == 0)
        return {};
    char32_t codePoint = first & (0x7Fu >> lead.length);
    for (size_t n = 1; n < lead.length; ++n) {
        if (i + n >= text.size())
            return {0, n, false, true};
        const auto next = static_cast<unsigned char>(text[i + n]);
        if (next < (n == 1 ? lead.low : 0x80) || next > (n == 1 ? lead.high : 0xBF))
            return {0, n, false, false};
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    return {codePoint, lead.length, true, false};
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = decodeUtf8At(text, i);
        if (!sequence.valid)
            return false;
        i += sequence.length;
    }
    return true;
}

std::string replaceInvalidUtf8(std::string_view text, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = decodeUtf8At(text, i);
        if (sequence.valid)
            out.append(text.substr(i, sequence.length));
        else
            out.append(replacement);
        i += sequence.length;
    }
    return out;
}

std::string readableText(std::string_view text) {
    return replaceInvalidUtf8(text, "\xEF\xBF\xBD");
}
