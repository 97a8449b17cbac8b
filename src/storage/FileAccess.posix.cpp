#include "storage/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <optional>
#include <random>
#include <vector>

#include "common/UniqueFd.h"

namespace {

int regularFileError(const struct stat& st) {
    if (S_ISREG(st.st_mode)) {
        return 0;
    }
    return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

constexpr size_t kSuffixLength = 8;
// Longest part of the target's name a temporary file's name repeats.
constexpr size_t kLongestTarget = 200;
constexpr std::string_view kTemporaryStart = ".";
constexpr std::string_view kSuffixDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kTemporaryEnd = ".tmp";

// Temporary files of `name` are ".<name>.<random suffix>.tmp", the name cut so that the whole
// stays within the 255-byte limit of a file name.
std::string temporaryPrefix(std::string_view name) {
    return std::string(kTemporaryStart) + std::string(name.substr(0, kLongestTarget)) + ".";
}

std::string randomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (size_t i = 0; i < kSuffixLength; ++i) {
        suffix += kSuffixDigits[generator() % kSuffixDigits.size()];
    }
    return suffix;
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
    const std::string prefix =
        temporaryPrefix(slash == std::string::npos ? target : target.substr(slash + 1));
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/" + prefix + randomSuffix() + std::string(kTemporaryEnd);
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

int notRegularFileError(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? regularFileError(st) : 0;
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

int removeFile(const std::string& path) {
    return ::unlink(path.c_str()) != 0 ? errno : 0;
}

namespace {

// The name a temporary file of ours was made for, when `entry` is one: ".<name>.<suffix>.tmp".
std::optional<std::string_view> temporaryTargetOf(std::string_view entry) {
    const size_t fixed = kTemporaryStart.size() + 1 + kSuffixLength + kTemporaryEnd.size();
    if (entry.size() <= fixed || !entry.starts_with(kTemporaryStart) ||
        !entry.ends_with(kTemporaryEnd)) {
        return std::nullopt;
    }
    const std::string_view suffix =
        entry.substr(entry.size() - kTemporaryEnd.size() - kSuffixLength, kSuffixLength);
    if (suffix.find_first_not_of(kSuffixDigits) != std::string_view::npos ||
        entry[entry.size() - kTemporaryEnd.size() - kSuffixLength - 1] != '.') {
        return std::nullopt;
    }
    return entry.substr(kTemporaryStart.size(), entry.size() - fixed);
}

// Removes the entries of `folder` that `chosen` picks among the temporary files of ours.
template <typename Choice>
void removeTemporaries(const std::string& folder, Choice chosen) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(dir)) {
        if (const auto target = temporaryTargetOf(entry->d_name);
            target && chosen(*target, folder + "/" + entry->d_name)) {
            leftovers.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& leftover : leftovers) {
        ::unlink((folder + "/" + leftover).c_str());
    }
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) {
        return false;
    }
    text.remove_prefix(text.size() - end.size());
    for (size_t i = 0; i < end.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(end[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

void removeLeftoverTemporaries(const std::string& folder, std::string_view name) {
    const std::string_view cut = name.substr(0, kLongestTarget);
    removeTemporaries(folder,
                      [cut](std::string_view target, const std::string&) { return target == cut; });
}

void removeStaleTemporaries(const std::string& folder, std::string_view nameEnd,
                            int minimumAgeSeconds) {
    const time_t now = ::time(nullptr);
    removeTemporaries(folder, [&](std::string_view target, const std::string& path) {
        struct stat st {};
        return endsWithIgnoringCase(target, nameEnd) && ::lstat(path.c_str(), &st) == 0 &&
               S_ISREG(st.st_mode) && now - st.st_mtime >= minimumAgeSeconds;
    });
}
