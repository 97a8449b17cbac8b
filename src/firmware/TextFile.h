#pragma once

#include <string>

#include "common/SystemError.h"

// Both return the path with the system's error number, 0 on success.

// Reads a whole Windows-1252 text file and returns it as UTF-8 in `text`. A path that is not a
// regular file (folder, pipe, device) fails. On failure `text` is left unchanged.
SystemError readTextFile(const std::string& path, std::string& text);

// Writes UTF-8 `text` as Windows-1252 to `path`. The bytes go to a new temporary file in the
// same folder, which is then renamed over `path`: the file holds either its old content or the
// whole new text, never a part; an existing file keeps its permissions. On failure the
// temporary file is removed and `path` is untouched.
SystemError writeTextFileAtomically(const std::string& path, const std::string& text);
