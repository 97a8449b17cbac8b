#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/SystemError.h"

// One key of an INI file read or written per call, the file named by its full path each time;
// nothing is cached and no file stays open between calls. Names and values are UTF-8 here and
// Windows-1252 on disk, except in a UTF-8 file (see IniEncoding.h), which stays UTF-8. The text
// rules (blanks, quotes, comments, case, duplicates, line ends) are those of IniText.h.

// Longest value LireIni returns, in characters.
inline constexpr size_t kIniValueMaxLength = 126;

// The value of `key` in `section` of the file at `path`, cut to kIniValueMaxLength characters.
// Empty text when the file, section or key is missing, or the file cannot be read or is not a
// regular file. Never creates or changes anything.
std::string LireIni(const std::string& section, const std::string& key, const std::string& path);

// Sets `key` of `section` to `value` in the file at `path`, creating the file (no byte-order
// mark, CR LF line ends) or the section when missing. The file is replaced atomically: after a
// failure it holds exactly what it held before. Writers of one file, in any process, take turns
// through the advisory lock ".<name>.lock" beside it (see FileLock.h), so none loses another's
// key. Returns 1 on success and 0 on failure: folder missing, permission denied, disk full, path
// not a regular file, or a refused argument.
// Refused (nothing written): a name or value holding CR, LF or NUL, which would add lines of its
// own; an empty section or key name; a section name holding "]"; a key name holding "=" or
// starting with "[" or ";". Blanks around the names are dropped, as reading ignores them.
int32_t EcrireIni(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path);

// A key and the value to give it.
using IniKeyValue = std::pair<std::string, std::string>;

// Sets the keys in order, as that many calls of the routine above would, in one replacement of
// the file: afterwards it holds all the new values or exactly what it held before. The failure
// names `path` with the system's error number (EINVAL for a refused argument); number 0 when
// every key was written.
SystemError EcrireIni(const std::string& section, const std::vector<IniKeyValue>& keys,
                      const std::string& path);

// The two routines on the bytes of a whole file, without touching the disk.
// iniValueOf: what LireIni returns for a file holding `fileBytes`.
// withIniValue: the bytes EcrireIni writes for a file holding `fileBytes` (empty for a missing
// file), or nothing when the arguments are refused.
std::string iniValueOf(std::string_view fileBytes, std::string_view section, std::string_view key);
std::optional<std::string> withIniValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key, std::string_view value);
