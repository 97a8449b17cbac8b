#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/SystemError.h"

// Whole-file reads and atomic writes. Results are system error numbers: 0 means success; a path
// that is not a regular file gives EISDIR for a folder and kNotRegularFile for anything else (pipe,
// device), so a reader never blocks on a FIFO or reads a device without end.

// Reads the whole regular file at `path` into `bytes` (left empty on failure). A file larger than
// `maxBytes` is not read: EFBIG.
int readRegularFile(const std::string& path, std::string& bytes,
                    size_t maxBytes = static_cast<size_t>(-1));

// Whether a write waits for the disk. A scratch file that the program deletes at every start
// (the working sequence file) needs no more than the page cache: a killed program still leaves
// it whole, and the wait (milliseconds per write) is spared to the window.
enum class FileSync { ToDisk, CacheOnly };

// Writes a file through a temporary file in the same folder, flushed to disk (ToDisk) and
// renamed over the target, so the target holds either its old bytes or all the new ones and no
// temporary file is left behind. An existing target keeps its permissions; a new one gets 0666
// less the umask.
int writeFileAtomically(const std::string& path, std::string_view bytes,
                        FileSync sync = FileSync::ToDisk);

// EISDIR for a folder and kNotRegularFile for anything else that is not a regular file; 0 for a
// regular file or when nothing (or nothing reachable) is there.
int notRegularFileError(const std::string& path);

// Removes the file at `path`; ENOENT when there is none.
int removeFile(const std::string& path);

// Removes from `folder` the temporary files that writers of the file named `name` left behind
// when they were killed before committing. Only the sole writer of that file may call it: a
// temporary file of a write in progress would go too.
void removeLeftoverTemporaries(const std::string& folder, std::string_view name);

// A write takes milliseconds: a temporary file left unchanged this long belongs to a writer
// that was killed.
inline constexpr int kStaleTemporarySeconds = 60;

// Removes from `folder` the temporary files of writers of any file whose name ends with
// `nameEnd` (ASCII case ignored) that have not changed for `minimumAgeSeconds`: they were left
// by writers killed midway, in this process or another.
void removeStaleTemporaries(const std::string& folder, std::string_view nameEnd,
                            int minimumAgeSeconds);

// The folder part of a path ("." when there is none, "/" for a file at the root).
std::string folderOf(const std::string& path);
