#include <unistd.h>

#include <cerrno>

#include "common/UniqueFd.h"

void UniqueFd::reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int UniqueFd::close() {
    const int fd = release();
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
}
