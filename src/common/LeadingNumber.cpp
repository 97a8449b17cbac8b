#include "common/LeadingNumber.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base) {
    int v = -1;
    if (isDigit(c)) {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

double radixInteger(std::string_view s, int base) {
    double value = 0;
    for (char c : s) {
        const int d = digitValue(c, base);
        if (d < 0) {
            break;
        }
        value = value * base + d;
    }
    return std::isfinite(value) ? value : 0;
}

// The longest prefix of s that is "[sign] digits [. digits] [exponent [sign] digits]".
std::string decimalPrefix(std::string_view s) {
    std::string out;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            out += '-';
        }
        ++i;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            seenDigit = true;
            out += s[i];
        } else if (s[i] == '.' && !seenPoint) {
            seenPoint = true;
            out += '.';
        } else {
            break;
        }
    }
    if (!seenDigit) {
        return {};
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent += s[j++];
        }
        const size_t firstDigit = j;
        while (j < s.size() && isDigit(s[j])) {
            exponent += s[j++];
        }
        if (j > firstDigit) {
            out += exponent;
        }
    }
    return out;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!isIgnored(c)) {
            s += c;
        }
    }
    if (s.size() >= 2 && s[0] == '&') {
        const char prefix = s[1];
        if (prefix == 'h' || prefix == 'H') {
            return radixInteger(std::string_view(s).substr(2), 16);
        }
        if (prefix == 'o' || prefix == 'O') {
            return radixInteger(std::string_view(s).substr(2), 8);
        }
        return 0;
    }
    const std::string number = decimalPrefix(s);
    if (number.empty()) {
        return 0;
    }
    double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    // from_chars reads no leading "+" and reports a value beyond double's range as an error;
    // both are already handled: the sign was normalised and an error leaves 0.
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || !std::isfinite(value)) {
        return 0;
    }
    (void)end;
    return value;
}

int16_t roundToInt16(double value) {
    const double rounded = std::nearbyint(value);  // default rounding mode: half to even
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
        return 0;
    }
    return static_cast<int16_t>(rounded);
}
