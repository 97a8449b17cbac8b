#include "storage/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <vector>

#include "common/UniqueFd.h"
#include "storage/TemporaryName.h"

namespace {

int regularFileError(const struct stat& st) {
    if (S_ISREG(st.st_mode)) {
        return 0;
    }
    return S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
}

// Makes the rename itself durable; the new file is complete whatever happens here.
void syncFolder(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.open()) {
        ::fsync(fd.get());
    }
}

// Writes a file through a temporary file in the same folder that commit() renames over the
// target; a writer destroyed without a successful commit() removes its temporary file.
class AtomicWriter {
  public:
    AtomicWriter() = default;
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter();

    int open(const std::string& target);
    int write(std::string_view bytes);
    int commit(FileSync sync);

  private:
    void discard();

    std::string target_;
    std::string temporary_;
    UniqueFd fd_;
};

AtomicWriter::~AtomicWriter() {
    discard();
}

void AtomicWriter::discard() {
    fd_.reset();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

int AtomicWriter::open(const std::string& target) {
    discard();
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && regularFileError(st) != 0) {
        return regularFileError(st);
    }
    const size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/" + temporaryNameFor(name);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_.reset(fd);
            temporary_ = std::move(candidate);
            target_ = target;
            if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) {
                const int error = errno;
                discard();
                return error;
            }
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int AtomicWriter::write(std::string_view bytes) {
    if (!fd_.open()) {
        return EBADF;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            discard();
            return error;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int AtomicWriter::commit(FileSync sync) {
    if (!fd_.open()) {
        return EBADF;
    }
    int error = sync == FileSync::ToDisk && ::fsync(fd_.get()) != 0 ? errno : 0;
    // A failed close can mean lost data on some file systems: it must fail the commit too.
    if (const int closeError = fd_.close(); error == 0) {
        error = closeError;
    }
    if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
        return error;
    }
    temporary_.clear();
    if (sync == FileSync::ToDisk) {
        syncFolder(folderOf(target_));
    }
    return 0;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int readRegularFile(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.open()) {
        return errno;
    }
    struct stat st {};
    int error = ::fstat(fd.get(), &st) != 0 ? errno : regularFileError(st);
    if (error == 0 && static_cast<uint64_t>(st.st_size) > maxBytes) {
        error = EFBIG;
    }
    if (error == 0) {
        bytes.reserve(static_cast<size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
            if (n > 0) {
                bytes.append(buffer, static_cast<size_t>(n));
                if (bytes.size() > maxBytes) {  // it grew while being read
                    error = EFBIG;
                    bytes.clear();
                    break;
                }
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                error = errno;
                bytes.clear();
                break;
            }
        }
    }
    return error;
}

int writeFileAtomically(const std::string& path, std::string_view bytes, FileSync sync) {
    AtomicWriter writer;
    int error = writer.open(path);
    if (error == 0) {
        error = writer.write(bytes);
    }
    return error == 0 ? writer.commit(sync) : error;
}

int notRegularFileError(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? regularFileError(st) : 0;
}

int removeFile(const std::string& path) {
    return ::unlink(path.c_str()) != 0 ? errno : 0;
}

void removeLeftoverTemporaries(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(dir)) {
        if (isTemporaryNameOf(entry->d_name, name)) {
            leftovers.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& leftover : leftovers) {
        ::unlink((folder + "/" + leftover).c_str());
    }
}

void removeStaleTemporaries(const std::string& folder, std::string_view nameEnd,
                            int minimumAgeSeconds) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const time_t now = ::time(nullptr);
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (isTemporaryNameOfOneEndingWith(name, nameEnd) &&
            ::lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= minimumAgeSeconds) {
            stale.push_back(name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : stale) {
        ::unlink((folder + "/" + name).c_str());
    }
}
