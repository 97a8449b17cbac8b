#pragma once

#include <string>

// An advisory lock (flock; LockFileEx on Windows) on a lock file, held until the object goes away
// or the process ends, so a killed holder never leaves a stale lock. The lock file is created when
// missing and left in place: removing it would let two processes lock two different files of the
// same name.
class FileLock {
  public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Waits until the lock at `lockPath` is free and takes it. Returns 0, or the errno of a lock
    // file that cannot be opened. Where the file system cannot lock, it returns 0 unlocked.
    int wait(const std::string& lockPath);
    // Takes the lock if it is free: 0, EWOULDBLOCK when another holder has it, or the errno of a
    // lock file that cannot be opened (0 unlocked where the file system cannot lock).
    int tryTake(const std::string& lockPath);

  private:
    int take(const std::string& lockPath, bool block);
    void release();

    int fd_ = -1;
};

// The lock file that guards `path`: ".<name>.lock" in the same folder.
std::string lockPathFor(const std::string& path);
