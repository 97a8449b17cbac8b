#include "common/NumberText.h"

#include <charconv>
#include <cmath>

std::string formatNumber(double value) {
    if (!std::isfinite(value) || value == 0) {
        return "0";  // also turns -0 into 0
    }
    char buffer[64];
    // %.15g semantics through to_chars, which ignores the C locale's decimal comma.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}
