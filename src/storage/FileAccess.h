#pragma once

#include <string>
#include <string_view>

// Whole-file reads and atomic writes. Results are system error numbers: 0 means success; a path
// that is not a regular file gives EISDIR for a folder and EINVAL for anything else (pipe,
// device), so a reader never blocks on a FIFO or reads a device without end.

// Reads the whole regular file at `path` into `bytes` (left empty on failure).
int readRegularFile(const std::string& path, std::string& bytes);

// Writes a file through a temporary file in the same folder, flushed to disk and renamed over
// the target, so the target holds either its old bytes or all the new ones and no temporary
// file is left behind. An existing target keeps its permissions; a new one gets 0666 less the
// umask.
int writeFileAtomically(const std::string& path, std::string_view bytes);

// EISDIR for a folder and EINVAL for anything else that is not a regular file; 0 for a regular
// file or when nothing (or nothing reachable) is there.
int notRegularFileError(const std::string& path);

// Removes the file at `path`; ENOENT when there is none.
int removeFile(const std::string& path);

// Removes from `folder` the temporary files that writers of the file named `name` left behind
// when they were killed before committing. Only the sole writer of that file may call it: a
// temporary file of a write in progress would go too.
void removeLeftoverTemporaries(const std::string& folder, std::string_view name);
