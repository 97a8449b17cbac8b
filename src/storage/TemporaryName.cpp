#include "storage/TemporaryName.h"

#include <cctype>
#include <random>

namespace {

constexpr size_t kSuffixLength = 8;
constexpr std::string_view kSuffixDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kTemporaryEnd = ".tmp";

std::string temporaryPrefix(std::string_view name) {
    return "." + std::string(name.substr(0, 200)) + ".";
}

}  // namespace

std::string temporaryNameFor(std::string_view name) {
    static std::mt19937_64 generator{std::random_device{}()};
    std::string result = temporaryPrefix(name);
    for (size_t i = 0; i < kSuffixLength; ++i) {
        result += kSuffixDigits[generator() % kSuffixDigits.size()];
    }
    return result.append(kTemporaryEnd);
}

bool isTemporaryNameOf(std::string_view entry, std::string_view name) {
    const std::string prefix = temporaryPrefix(name);
    if (entry.size() != prefix.size() + kSuffixLength + kTemporaryEnd.size() ||
        !entry.starts_with(prefix) || !entry.ends_with(kTemporaryEnd)) {
        return false;
    }
    const std::string_view suffix = entry.substr(prefix.size(), kSuffixLength);
    return suffix.find_first_not_of(kSuffixDigits) == std::string_view::npos;
}

bool isTemporaryNameOfOneEndingWith(std::string_view entry, std::string_view nameEnd) {
    const size_t fixed = temporaryPrefix("").size() + kSuffixLength + kTemporaryEnd.size();
    if (entry.size() <= fixed) {
        return false;
    }
    const std::string_view name = entry.substr(1, entry.size() - fixed);
    if (!isTemporaryNameOf(entry, name) || name.size() < nameEnd.size()) {
        return false;
    }
    const std::string_view end = name.substr(name.size() - nameEnd.size());
    for (size_t i = 0; i < end.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(end[i])) !=
            std::tolower(static_cast<unsigned char>(nameEnd[i]))) {
            return false;
        }
    }
    return true;
}
