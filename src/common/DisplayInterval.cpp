#include "common/DisplayInterval.h"

#include <cmath>

#include "common/LeadingNumber.h"

int32_t intervalOfDuration(std::string_view durationText) {
    const double milliseconds = std::nearbyint(leadingNumber(durationText) * 1000);
    if (!(milliseconds > 0)) {
        return 0;
    }
    if (milliseconds > kLongestIntervalMs) {
        return kLongestIntervalMs;
    }
    return static_cast<int32_t>(milliseconds);
}
