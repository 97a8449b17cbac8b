#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A std::filesystem::path made from UTF-8 text, and back. A path made from a std::string is read
// in the ANSI code page on Windows ("modèle" becomes "modÃ¨le"); through char8_t it is UTF-8 on
// every platform.
inline std::filesystem::path utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8String(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
