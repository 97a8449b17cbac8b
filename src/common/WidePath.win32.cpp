#include <windows.h>

#include "common/WidePath.h"

std::wstring wideOfCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string codePageOfWide(std::wstring_view wide, unsigned codePage) {
    if (wide.empty())
        return {};
    // UTF-8 takes no default character.
    const char* const unknown = codePage == CP_UTF8 ? nullptr : "?";
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, unknown, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, unknown, nullptr);
    return bytes;
}

std::wstring toWide(std::string_view utf8) {
    return wideOfCodePage(utf8, CP_UTF8);
}

std::string fromWide(std::wstring_view wide) {
    return codePageOfWide(wide, CP_UTF8);
}
