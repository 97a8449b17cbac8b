#include "storage/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

void FileLock::release() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing drops the lock
        fd_ = -1;
    }
}

int FileLock::take(const std::string& lockPath, bool block) {
    release();
    // Close-on-exec: a build tool started by the holder must not keep the lock after it.
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    int result;
    do {
        result = ::flock(fd, block ? LOCK_EX : LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return EWOULDBLOCK;
    }
    // Any other failure (ENOLCK on a file system without locks) leaves the caller unguarded
    // rather than unable to work.
    fd_ = fd;
    return 0;
}
