#pragma once

#include <string>
#include <string_view>

// Whole-file reads and atomic writes on POSIX descriptors. Results are errno values: 0 means
// success; a path that is not a regular file gives EISDIR for a folder and EINVAL for anything
// else (pipe, device), so a reader never blocks on a FIFO or reads a device without end.

// Reads the whole regular file at `path` into `bytes`.
int readRegularFile(const std::string& path, std::string& bytes);

// Writes a file through a temporary file in the same folder, flushed to disk and renamed over
// the target on commit(), so the target holds either its old bytes or all the new ones. An
// existing target keeps its permissions; a new one gets 0666 less the umask. A writer that is
// destroyed without a successful commit() removes its temporary file.
class AtomicWriter {
  public:
    AtomicWriter() = default;
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter();

    int open(const std::string& target);
    int write(std::string_view bytes);
    int commit();

  private:
    void discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
};

// The three steps of AtomicWriter in one call.
int writeFileAtomically(const std::string& path, std::string_view bytes);
