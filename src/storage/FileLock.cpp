#include "storage/FileLock.h"

std::string lockPathFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // Cut so that the lock file's name stays within the 255-byte limit of a file name.
    return path.substr(0, nameStart) + "." + path.substr(nameStart, 200) + ".lock";
}
