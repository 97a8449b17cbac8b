#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "common/WidePath.h"
#include "console/LocaleText.h"

// On Windows the tools print in the console's code page; a program without a console (the
// window) takes the one a console would have, the OEM code page (850 in France).

namespace {

UINT consoleCodePage() {
    const UINT codePage = GetConsoleOutputCP();
    return codePage != 0 ? codePage : GetOEMCP();
}

std::string upper(std::string text) {
    std::erase_if(text, [](char c) { return c == '-' || c == '_'; });
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The code page of a character set name: "UTF-8", "CP850", "WINDOWS-1252", "IBM437",
// "ISO-8859-1", or a bare number; 0 when unknown.
UINT codePageNamed(const std::string& charset) {
    std::string name = upper(charset);
    if (name == "UTF8")
        return CP_UTF8;
    if (name.starts_with("ISO8859"))
        return 28590 + static_cast<UINT>(std::atoi(name.c_str() + 7));
    for (const std::string_view prefix : {"WINDOWS", "CP", "IBM"}) {
        if (name.starts_with(prefix)) {
            name.erase(0, prefix.size());
            break;
        }
    }
    UINT codePage = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), codePage);
    return error == std::errc() && end == name.data() + name.size() ? codePage : 0;
}

bool isDoubleByte(UINT codePage) {
    CPINFO info{};
    return GetCPInfo(codePage, &info) && info.MaxCharSize > 1;
}

}  // namespace

struct LocaleDecoder::Converter {
    UINT codePage;
    bool doubleByte;
    std::string pending;  // a lead byte whose second byte is in the next piece
};

std::string toLocaleCharset(std::string_view utf8) {
    const UINT codePage = consoleCodePage();
    return codePage == CP_UTF8 ? std::string(utf8) : codePageOfWide(toWide(utf8), codePage);
}

LocaleDecoder::LocaleDecoder() {
    const UINT codePage = consoleCodePage();
    if (codePage != CP_UTF8)
        converter_ = std::make_unique<Converter>(Converter{codePage, isDoubleByte(codePage), {}});
}

LocaleDecoder::LocaleDecoder(const std::string& charset) {
    const UINT codePage = codePageNamed(charset);
    if (codePage != 0 && codePage != CP_UTF8 && IsValidCodePage(codePage))
        converter_ = std::make_unique<Converter>(Converter{codePage, isDoubleByte(codePage), {}});
}

LocaleDecoder::~LocaleDecoder() = default;

std::string LocaleDecoder::decode(std::string_view bytes) {
    if (!converter_)
        return utf8_.decode(bytes);
    Converter& c = *converter_;
    std::string input = std::move(c.pending);
    c.pending.clear();
    input.append(bytes);
    size_t complete = input.size();
    if (c.doubleByte) {
        for (size_t i = 0; i < input.size(); ++i) {
            if (!IsDBCSLeadByteEx(c.codePage, static_cast<BYTE>(input[i])))
                continue;
            if (i + 1 == input.size())
                complete = i;
            ++i;
        }
    }
    c.pending = input.substr(complete);
    return fromWide(wideOfCodePage(std::string_view(input).substr(0, complete), c.codePage));
}

std::string LocaleDecoder::finish() {
    if (!converter_)
        return utf8_.finish();
    const bool cut = !converter_->pending.empty();
    converter_->pending.clear();
    return cut ? std::string("\xEF\xBF\xBD") : std::string();
}
