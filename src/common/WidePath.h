#pragma once

#include <string>
#include <string_view>

// Windows only. Text is UTF-8 inside the program and UTF-16 at the Windows API (paths, command
// lines, environment): every crossing goes through these two, never through the ANSI forms.

// Invalid UTF-8 becomes U+FFFD.
std::wstring toWide(std::string_view utf8);

// A lone surrogate becomes U+FFFD.
std::string fromWide(std::wstring_view wide);

// The same for text in a Windows code page (850, 1252...): bytes that the code page does not
// define become its default character, characters it cannot hold become "?".
std::wstring wideOfCodePage(std::string_view bytes, unsigned codePage);
std::string codePageOfWide(std::wstring_view wide, unsigned codePage);
