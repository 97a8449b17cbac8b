#pragma once

#include <string>

#include "common/SystemError.h"

// Whole-file operations on sequence files: Load and Save copy, start-up and New delete.

// Outcome of a file operation. On failure `error` names the file at fault and why; a path that
// is not a regular file gives EISDIR for a folder and kNotRegularFile for anything else.
struct FileOpResult {
    enum class Failure {
        None,
        SourceMissing,           // the file to copy does not exist
        SourceUnreadable,        // it exists but cannot be read (permission, folder, device...)
        DestinationNotWritable,  // folder missing, permission denied, disk full...
        NotDeleted,              // the file exists and could not be removed
    };
    Failure failure = Failure::None;
    SystemError error;

    bool ok() const { return failure == Failure::None; }
};

// Copies the regular file `source` over `destination`, creating or replacing it atomically:
// the destination holds either its old bytes or a complete copy, never part of one, and the
// source is never changed. Copying a file onto itself leaves it as it is.
FileOpResult copyFileAtomically(const std::string& source, const std::string& destination);

// Removes the file at `path`; a file that does not exist is not an error.
FileOpResult deleteFileIfPresent(const std::string& path);
