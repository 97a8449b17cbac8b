#pragma once

#include <string>

// Writes a number in its shortest decimal form with at most 15 significant digits, "." as the
// decimal point whatever the locale, no point for a whole number: 3, 12.5, -0.25, 1e+20.
// A value that is not finite cannot be written and gives "0".
std::string formatNumber(double value);
