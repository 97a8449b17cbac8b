#include "common/ModuleLimits.h"

#include <cctype>
#include <cmath>

#include "common/LeadingNumber.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the text, blanks ignored as the leading number ignores them, begins with a number:
// a digit after an optional sign and point, or &H / &O and a digit.
bool startsWithNumber(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    size_t i = 0;
    if (s.size() >= 3 && s[0] == '&') {
        const char base = static_cast<char>(std::tolower(static_cast<unsigned char>(s[1])));
        return (base == 'h' && std::isxdigit(static_cast<unsigned char>(s[2]))) ||
               (base == 'o' && s[2] >= '0' && s[2] <= '7');
    }
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
    }
    return i < s.size() && isDigit(s[i]);
}

}  // namespace

DurationFault durationFault(std::string_view durationText) {
    if (durationText.find_first_not_of(" \t\n") == std::string_view::npos) {
        return DurationFault::Empty;
    }
    if (!startsWithNumber(durationText)) {
        return DurationFault::Unreadable;
    }
    const double seconds = leadingNumber(durationText);
    if (!(seconds > 0)) {
        return DurationFault::NotPositive;
    }
    if (seconds > kLongestDurationSeconds) {
        return DurationFault::TooLong;
    }
    return DurationFault::None;
}

std::string durationAdvice() {
    return "Tape une durée en secondes, plus grande que 0 et d'au plus 6 553,5 (par exemple 0,5)";
}

std::optional<int16_t> storedCountOf(std::string_view nombreText) {
    const double rounded = std::nearbyint(leadingNumber(nombreText));
    if (!(rounded >= 0 && rounded <= kLargestCount)) {
        return std::nullopt;
    }
    return static_cast<int16_t>(rounded);
}
