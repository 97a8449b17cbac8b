#pragma once

#include <cstdint>
#include <string_view>

// The leading number of a text, read the way every number of the program is read:
// blanks, tabs and line feeds anywhere are ignored; then an optional sign, digits with at most
// one "." and an optional exponent (E or D), or &H / &O followed by a hexadecimal or octal
// integer. Reading stops at the first character that cannot continue the number ("," and ";"
// end it). A text that starts with no number reads as 0, and so does a number too large for a
// double: a value that does not fit is read as 0, never as infinity.
double leadingNumber(std::string_view text);

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4),
// and stores it in a 16-bit integer. A value that does not fit (outside -32768..32767) gives 0:
// the conversion that would overflow is skipped and its target keeps the neutral value.
int16_t roundToInt16(double value);
