#pragma once

#include <string>
#include <string_view>
#include <vector>

// The INI text rules, on bytes already in the file's encoding (byte-order mark removed).
//
// Lines end in CR LF, LF or CR. Blanks (spaces, tabs) around names, around "=" and at both ends
// of a value are ignored, and a NUL byte ends the useful part of its line. A line whose first
// non-blank character is ";" is a comment; "[name]" opens a section (text after the first "]"
// is ignored); any other non-blank line is a key, "name=value" or a bare "name" with an empty
// value. Names match without regard to ASCII case. Only the first section of a given name
// counts, and within it only the first key of a given name.

// Whether two names are the same name: equal but for ASCII case.
bool sameIniName(std::string_view a, std::string_view b);

// A key line of a section: its name and its value, quotes removed as below.
struct IniKey {
    std::string_view name;
    std::string_view value;
};

// Every key line of the first section named `section`, in file order, duplicates included.
std::vector<IniKey> iniSectionKeys(std::string_view text, std::string_view section);

// The value of `key` in section `section`, with one pair of matching surrounding double or
// single quotes removed. Empty when the section or key is missing or the value is empty.
std::string_view findIniValue(std::string_view text, std::string_view section,
                              std::string_view key);

// `text` with `key` of `section` set to `value`. An existing key line is replaced where it
// stands (its name as the file spells it and its line end kept); a new key goes after the last key
// of its section; a missing section is added at the end with the key. New lines end like the first
// line of the text (CR LF when there is none). Every other byte is kept. The caller must pass names
// and a value without line breaks or NUL, a section name without "]" and a key name without "="
// that does not start with "[" or ";", all non-empty and without surrounding blanks.
std::string setIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);
