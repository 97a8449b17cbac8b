#pragma once

#include <string>
#include <string_view>

// How the bytes of an INI file are to be read. Files made on Windows are Windows-1252; a file
// that starts with a UTF-8 byte-order mark is UTF-8, and so is a file without one whose bytes are
// valid UTF-8 holding at least one multi-byte character (what a Linux text editor saves).
enum class IniEncoding { Ansi, Utf8, Utf8WithBom };

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

IniEncoding detectIniEncoding(std::string_view fileBytes);

// UTF-8 text of the program put into the file's encoding: Windows-1252 ("?" for what it cannot
// hold) or UTF-8 (invalid bytes become "?").
std::string textToFile(std::string_view utf8, IniEncoding encoding);

// A value as stored in the file turned into UTF-8, cut to at most `maxCharacters` characters.
std::string valueFromFile(std::string_view stored, IniEncoding encoding, size_t maxCharacters);
