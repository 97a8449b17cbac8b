#pragma once

#include <cstdint>
#include <string_view>

// Longest interval the preview timer is given: 24 hours.
inline constexpr int32_t kLongestIntervalMs = 24 * 60 * 60 * 1000;

// The timer interval of a duration text: its leading number of seconds times 1000, rounded half
// to even. A negative result gives 0 (no ticks), one above 24 hours is held at 24 hours.
int32_t intervalOfDuration(std::string_view durationText);
