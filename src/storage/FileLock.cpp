#include "storage/FileLock.h"

#include <utility>

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    release();
}

int FileLock::wait(const std::string& lockPath) {
    return take(lockPath, true);
}

int FileLock::tryTake(const std::string& lockPath) {
    return take(lockPath, false);
}

std::string lockPathFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // Cut so that the lock file's name stays within the 255-byte limit of a file name.
    return path.substr(0, nameStart) + "." + path.substr(nameStart, 200) + ".lock";
}
