#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the display module's firmware can hold. Its wait counter counts tenths of a second in an
// unsigned 16-bit variable, and the window counts characters in a signed 16-bit one.
inline constexpr double kLongestDurationSeconds = 6553.5;
inline constexpr int16_t kLargestCount = 32767;

enum class DurationFault {
    None,
    Empty,        // nothing typed
    Unreadable,   // does not start with a number ("abc", ".")
    NotPositive,  // zero or negative: the module would never show it, or never stop
    TooLong,      // beyond the wait counter: the module would freeze on it
};

// Judges a stored duration text (seconds, "." as decimal point, read as its leading number).
// Anything after the number is left alone, as the module reads only the number.
DurationFault durationFault(std::string_view durationText);

// The French sentence that tells what to type, naming the range, without a final full stop.
std::string durationAdvice();

// The character count a "Nombre" text holds, or nothing when it lies outside 0..32767 (a
// missing or empty text counts 0).
std::optional<int16_t> storedCountOf(std::string_view nombreText);
