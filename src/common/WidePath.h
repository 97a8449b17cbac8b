#pragma once

#include <string>
#include <string_view>

// Windows only. Text is UTF-8 inside the program and UTF-16 at the Windows API (paths, command
// lines, environment): every crossing goes through these two, never through the ANSI forms.

// Invalid UTF-8 becomes U+FFFD.
std::wstring toWide(std::string_view utf8);

// A lone surrogate becomes U+FFFD.
std::string fromWide(std::wstring_view wide);
