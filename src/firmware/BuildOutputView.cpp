#include "firmware/BuildOutputView.h"

#include <algorithm>

#include "common/Utf8.h"

namespace {

constexpr size_t kExcerptLines = 20;
constexpr size_t kExcerptLineBytes = 120;
// avrdude's last bar, its end and the line after it fit well inside this tail.
constexpr size_t kProgressTail = 400;
constexpr int kBarHashes = 50;

// The longest prefix of `line` of at most `limit` bytes that does not end inside a character.
std::string_view headOf(std::string_view line, size_t limit) {
    size_t end = 0;
    while (end < line.size()) {
        const size_t length = decodeUtf8At(line, end).length;
        if (end + length > limit)
            break;
        end += length;
    }
    return line.substr(0, end);
}

}  // namespace

std::string compileErrorExcerpt(std::string_view output, bool& cut) {
    std::string excerpt;
    cut = false;
    size_t begin = 0;
    for (size_t lines = 0; begin < output.size(); ++lines) {
        if (lines == kExcerptLines) {
            cut = true;
            break;
        }
        size_t end = output.find('\n', begin);
        const bool last = end == std::string_view::npos;
        if (last)
            end = output.size();
        const std::string_view line = output.substr(begin, end - begin);
        const std::string_view head = headOf(line, kExcerptLineBytes);
        excerpt += head;
        if (head.size() < line.size()) {
            excerpt += "…";
            cut = true;
        }
        if (!last)
            excerpt += '\n';
        begin = end + 1;
    }
    return excerpt;
}

std::string sendingProgress(std::string_view output) {
    const std::string_view tail =
        output.substr(output.size() - std::min(output.size(), kProgressTail));
    const size_t writing = tail.rfind("Writing |");
    const size_t reading = tail.rfind("Reading |");
    const bool isReading = reading != std::string_view::npos &&
                           (writing == std::string_view::npos || reading > writing);
    const size_t bar = isReading ? reading : writing;
    if (bar == std::string_view::npos)
        return "";
    const std::string_view rest = tail.substr(bar + 9);
    const std::string_view hashes = rest.substr(0, rest.find_first_of("|\n"));
    const auto done = std::count(hashes.begin(), hashes.end(), '#');
    const auto percent = std::min<decltype(done)>(done, kBarHashes) * 100 / kBarHashes;
    return std::string(isReading ? "vérification " : "écriture ") + std::to_string(percent) + " %";
}
