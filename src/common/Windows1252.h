#pragma once

#include <string>
#include <string_view>

// Text files of the program (sequence files, templates, generated source) are Windows-1252 on
// disk and UTF-8 inside. The five bytes Windows-1252 leaves undefined map to U+0081, U+008D,
// U+008F, U+0090 and U+009D, as Windows itself maps them, so every byte survives a round trip.
std::string ansiToUtf8(std::string_view bytes);

// A character with no Windows-1252 byte, or each maximal invalid UTF-8 part, becomes "?".
std::string utf8ToAnsi(std::string_view text);
