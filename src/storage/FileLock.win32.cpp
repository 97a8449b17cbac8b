#include <windows.h>

#include <cerrno>
#include <cstdint>

#include "common/WidePath.h"
#include "common/WindowsError.h"
#include "storage/FileLock.h"

namespace {

// The lock file's handle is kept in the descriptor field: Windows handles carry 32 significant
// bits (sign-extended), so they fit an int both ways, and -1 is INVALID_HANDLE_VALUE.
HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

int fdOf(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

}  // namespace

void FileLock::release() {
    if (fd_ != -1) {
        CloseHandle(handleOf(fd_));  // closing drops the lock
        fd_ = -1;
    }
}

int FileLock::take(const std::string& lockPath, bool block) {
    release();
    // Not inheritable: a build tool started by the holder must not keep the lock after it.
    const HANDLE file = CreateFileW(toWide(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastWindowsError();
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (block ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(file, flags, 0, 1, 0, &whole) && GetLastError() == ERROR_LOCK_VIOLATION) {
        CloseHandle(file);
        return EWOULDBLOCK;
    }
    // Any other failure (a share that cannot lock) leaves the caller unguarded rather than
    // unable to work.
    fd_ = fdOf(file);
    return 0;
}
