#include <errno.h>
#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "console/LocaleText.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::string localeCharset() {
    return nl_langinfo(CODESET);
}

bool passesUtf8Through(std::string charset) {
    std::erase_if(charset, [](char c) { return c == '-' || c == '_'; });
    std::transform(charset.begin(), charset.end(), charset.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return charset == "UTF8" || charset == "ANSIX3.41968" || charset == "ASCII" ||
           charset == "USASCII";
}

// Runs iconv over the whole input. At a byte it cannot convert, `onBad` appends a substitute and
// returns how many input bytes to skip; input cut inside a character is returned for later.
template <typename OnBad>
std::string convertAll(iconv_t cd, std::string_view input, std::string& rest, OnBad onBad) {
    std::string out(input.size() * 4 + 16, '\0');
    auto* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t used = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (r != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG || outLeft < 8) {
            out.resize(out.size() * 2);
        } else if (errno == EILSEQ) {
            out.resize(used);
            const size_t skip = std::min(onBad(std::string_view(in, inLeft), out), inLeft);
            used = out.size();
            out.resize(used + inLeft * 4 + 16);
            in += skip;
            inLeft -= skip;
        } else {  // EINVAL: the input ends inside a character
            rest.assign(in, inLeft);
            break;
        }
    }
    out.resize(used);
    return out;
}

}  // namespace

struct LocaleDecoder::Converter {
    iconv_t cd;
    std::string pending;  // bytes of a character cut at the end of the last piece
};

std::string toLocaleCharset(std::string_view utf8) {
    const std::string charset = localeCharset();
    if (passesUtf8Through(charset))
        return std::string(utf8);
    const iconv_t cd = iconv_open(charset.c_str(), "UTF-8");
    if (cd == kNoConverter)
        return std::string(utf8);
    std::string cut;
    std::string out = convertAll(cd, utf8, cut, [](std::string_view bad, std::string& o) {
        o.push_back('?');
        size_t skip = 1;  // the whole UTF-8 sequence: its continuation bytes too
        while (skip < bad.size() && (static_cast<unsigned char>(bad[skip]) & 0xC0) == 0x80) {
            ++skip;
        }
        return skip;
    });
    if (!cut.empty())
        out.push_back('?');
    iconv_close(cd);
    return out;
}

LocaleDecoder::LocaleDecoder() : LocaleDecoder(localeCharset()) {}

LocaleDecoder::LocaleDecoder(const std::string& charset) {
    if (passesUtf8Through(charset))
        return;
    const iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd != kNoConverter)
        converter_ = std::make_unique<Converter>(Converter{cd, {}});
}

LocaleDecoder::~LocaleDecoder() {
    if (converter_)
        iconv_close(converter_->cd);
}

std::string LocaleDecoder::decode(std::string_view bytes) {
    if (!converter_)
        return utf8_.decode(bytes);
    std::string input = std::move(converter_->pending);
    converter_->pending.clear();
    input.append(bytes);
    return convertAll(converter_->cd, input, converter_->pending,
                      [](std::string_view, std::string& o) {
                          o.append(kReplacement);
                          return size_t{1};
                      });
}

std::string LocaleDecoder::finish() {
    if (!converter_)
        return utf8_.finish();
    const bool cut = !converter_->pending.empty();
    converter_->pending.clear();
    iconv(converter_->cd, nullptr, nullptr, nullptr, nullptr);
    return cut ? std::string(kReplacement) : std::string();
}
