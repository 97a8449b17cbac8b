#include "storage/SequenceFile.h"

#include <cerrno>

#include "storage/FileAccess.h"

namespace {

FileOpResult failed(FileOpResult::Failure failure, const std::string& path, int error) {
    return {failure, {path, error}};
}

}  // namespace

FileOpResult copyFileAtomically(const std::string& source, const std::string& destination) {
    using Failure = FileOpResult::Failure;
    // Sequence files are small: a whole read keeps the source untouched if the write fails.
    std::string bytes;
    if (const int error = readRegularFile(source, bytes); error != 0) {
        return failed(error == ENOENT ? Failure::SourceMissing : Failure::SourceUnreadable, source,
                      error);
    }
    if (const int error = writeFileAtomically(destination, bytes); error != 0) {
        return failed(Failure::DestinationNotWritable, destination, error);
    }
    return {};
}

FileOpResult deleteFileIfPresent(const std::string& path) {
    if (const int error = removeFile(path); error != 0 && error != ENOENT) {
        return failed(FileOpResult::Failure::NotDeleted, path, error);
    }
    return {};
}
