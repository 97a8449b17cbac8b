#include "storage/SequenceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/FileAccess.h"

namespace {

FileOpResult failed(FileOpResult::Failure failure, const std::string& path, int error) {
    return {failure, {path, error}};
}

// Reads `source` in pieces into `writer`; 0 or the errno of the read.
int copyContents(int sourceFd, AtomicWriter& writer, int& writeError) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(sourceFd, buffer, sizeof buffer);
        if (n == 0) {
            return 0;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        writeError = writer.write({buffer, static_cast<size_t>(n)});
        if (writeError != 0) {
            return 0;
        }
    }
}

}  // namespace

FileOpResult copyFileAtomically(const std::string& source, const std::string& destination) {
    using Failure = FileOpResult::Failure;
    const int fd = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return failed(error == ENOENT ? Failure::SourceMissing : Failure::SourceUnreadable, source,
                      error);
    }
    struct stat st {};
    int error = ::fstat(fd, &st) != 0 ? errno : 0;
    if (error == 0 && !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    if (error != 0) {
        ::close(fd);
        return failed(Failure::SourceUnreadable, source, error);
    }
    AtomicWriter writer;
    int writeError = writer.open(destination);
    const int readError = writeError == 0 ? copyContents(fd, writer, writeError) : 0;
    ::close(fd);
    if (readError != 0) {
        return failed(Failure::SourceUnreadable, source, readError);
    }
    if (writeError == 0) {
        writeError = writer.commit();
    }
    if (writeError != 0) {
        return failed(Failure::DestinationNotWritable, destination, writeError);
    }
    return {};
}

FileOpResult deleteFileIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return failed(FileOpResult::Failure::NotDeleted, path, errno);
    }
    return {};
}
