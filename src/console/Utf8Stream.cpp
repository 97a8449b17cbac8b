#include "console/Utf8Stream.h"

#include <cstdint>
#include <cstring>

#include "common/Utf8.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Index of the first byte at or after `i` that is not ASCII, checking eight bytes at a time:
// build output is mostly ASCII.
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
    while ((i = skipAscii(bytes, i)) < bytes.size()) {
        const Utf8Sequence sequence = decodeUtf8At(bytes, i);
        if (sequence.valid) {
            i += sequence.length;
            continue;
        }
        out.append(bytes.substr(runStart, i - runStart));
        if (sequence.truncated) {
            pending_.assign(bytes.substr(i));
            return out;
        }
        out.append(kReplacement);
        i += sequence.length;
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
