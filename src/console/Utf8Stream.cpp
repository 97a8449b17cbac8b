#include "console/Utf8Stream.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the sequence a lead byte starts and the allowed range of its second byte, which
// rules out overlong forms, surrogates and code points above U+10FFFF. Length 0: not a lead byte.
struct Lead {
    int length;
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

// Index of the first byte at or after `i` that is not ASCII, checking eight bytes at a time.
size_t skipAscii(std::string_view s, size_t i) {
    while (i + 8 <= s.size()) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

}  // namespace

std::string Utf8Stream::decode(std::string_view bytes) {
    std::string joined;
    if (!pending_.empty()) {
        joined = pending_ + std::string(bytes);
        pending_.clear();
        bytes = joined;
    }
    std::string out;
    out.reserve(bytes.size());
    size_t runStart = 0;  // start of valid bytes not yet copied
    size_t i = 0;
    while (i < bytes.size()) {
        i = skipAscii(bytes, i);
        if (i >= bytes.size())
            break;
        const Lead lead = leadOf(static_cast<unsigned char>(bytes[i]));
        int valid = lead.length == 0 ? 0 : 1;  // bytes of the sequence found valid
        while (valid > 0 && valid < lead.length && i + static_cast<size_t>(valid) < bytes.size()) {
            const auto b = static_cast<unsigned char>(bytes[i + static_cast<size_t>(valid)]);
            const unsigned char low = valid == 1 ? lead.low : 0x80;
            const unsigned char high = valid == 1 ? lead.high : 0xBF;
            if (b < low || b > high)
                break;
            ++valid;
        }
        if (lead.length != 0 && valid == lead.length) {
            i += static_cast<size_t>(valid);
            continue;
        }
        out.append(bytes.substr(runStart, i - runStart));
        if (valid > 0 && i + static_cast<size_t>(valid) == bytes.size()) {
            pending_.assign(bytes.substr(i));
            return out;
        }
        out.append(kReplacement);
        i += static_cast<size_t>(valid > 0 ? valid : 1);
        runStart = i;
    }
    out.append(bytes.substr(runStart));
    return out;
}

std::string Utf8Stream::finish() {
    const bool cut = !pending_.empty();
    pending_.clear();
    return cut ? std::string(kReplacement) : std::string();
}
