#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "console/Utf8Stream.h"

// Text crosses the process boundary in the locale's character set (LC_CTYPE): command lines,
// folders and input go out in it, output comes back in it. Inside the program text is UTF-8.
// UTF-8 and ASCII locales pass UTF-8 through, since ASCII is a subset of it and a "C" locale
// would otherwise turn every accented byte into a replacement character.
// On Windows the character set is the console's code page (the OEM one, 850 in France, for a
// program without a console), as console tools print in it; command lines reach the system in
// UTF-16 from it, and the charset names below are "CP850", "WINDOWS-1252", "ISO-8859-1", "UTF-8".

// Converts UTF-8 text to the locale's character set; a character it cannot hold becomes "?".
std::string toLocaleCharset(std::string_view utf8);

// Decodes output that arrives in pieces. Undecodable bytes become U+FFFD; a character cut
// between two pieces is held back and completed by the next piece.
class LocaleDecoder {
  public:
    LocaleDecoder();                                     // the current locale's character set
    explicit LocaleDecoder(const std::string& charset);  // a named one (iconv name); an unknown
                                                         // name decodes as UTF-8
    ~LocaleDecoder();
    LocaleDecoder(const LocaleDecoder&) = delete;
    LocaleDecoder& operator=(const LocaleDecoder&) = delete;

    std::string decode(std::string_view bytes);

    // Ends the stream: a character still held back becomes U+FFFD.
    std::string finish();

  private:
    struct Converter;
    Utf8Stream utf8_;
    std::unique_ptr<Converter> converter_;  // null when the charset is UTF-8 or ASCII
};
