#include "storage/FileAccess.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "common/UniqueHandle.h"
#include "common/WidePath.h"
#include "common/WindowsError.h"
#include "storage/TemporaryName.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens what is at `path` whatever it is (a folder too), for reading or only for a look.
UniqueHandle openExisting(const std::string& path, DWORD access) {
    return UniqueHandle(CreateFileW(toWide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

int regularFileError(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info))
        return kNotRegularFile;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EISDIR : 0;
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return lastWindowsError();
        bytes.remove_prefix(written);
    }
    return 0;
}

// A name cannot be replaced while anyone has the file open: a reader in another window, the
// check before a writer takes its turn, an indexer or an antivirus. They hold it for a moment.
// (Rights were settled when the temporary file was made beside it.)
bool brieflyHeld(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

int replaceWith(const std::wstring& temporary, const std::wstring& target, FileSync sync) {
    const DWORD flags =
        MOVEFILE_REPLACE_EXISTING | (sync == FileSync::ToDisk ? MOVEFILE_WRITE_THROUGH : DWORD{0});
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), flags))
            return 0;
        const DWORD error = GetLastError();
        if (!brieflyHeld(error) || attempt == 20)
            return errnoOfWindowsError(error);
        Sleep(50);
    }
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

int readRegularFile(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    const UniqueHandle file = openExisting(path, GENERIC_READ);
    if (!file.open())
        return lastWindowsError();
    BY_HANDLE_FILE_INFORMATION info{};
    if (const int error = regularFileError(file.get(), info); error != 0)
        return error;
    const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (size > maxBytes)
        return EFBIG;
    bytes.reserve(static_cast<size_t>(size));
    // Each call is a round trip to the system (slow under Wine): a short read of a disk file is
    // its end.
    char buffer[65536];
    for (DWORD got = sizeof buffer; got == sizeof buffer;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            bytes.clear();
            return lastWindowsError();
        }
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {  // it grew while being read
            bytes.clear();
            return EFBIG;
        }
    }
    return 0;
}

int writeFileAtomically(const std::string& path, std::string_view bytes, FileSync sync) {
    if (const int error = notRegularFileError(path); error != 0)
        return error;
    // A read-only file is one its owner protected; Windows would refuse the replacement anyway.
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return EACCES;
    const std::string folder = folderOf(path);
    std::wstring temporary;
    UniqueHandle file;
    for (int attempt = 0; attempt < 100 && !file.open(); ++attempt) {
        temporary = toWide(folder + "/" + temporaryNameFor(nameOf(path)));
        file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.open() && GetLastError() != ERROR_FILE_EXISTS)
            return lastWindowsError();
    }
    if (!file.open())
        return EEXIST;
    int error = writeAll(file.get(), bytes);
    if (error == 0 && sync == FileSync::ToDisk && !FlushFileBuffers(file.get()))
        error = lastWindowsError();
    file.reset();
    if (error == 0)
        error = replaceWith(temporary, toWide(path), sync);
    if (error != 0)
        DeleteFileW(temporary.c_str());
    return error;
}

int notRegularFileError(const std::string& path) {
    const UniqueHandle file = openExisting(path, 0);
    BY_HANDLE_FILE_INFORMATION info{};
    return file.open() ? regularFileError(file.get(), info) : 0;
}

int removeFile(const std::string& path) {
    return DeleteFileW(toWide(path).c_str()) ? 0 : lastWindowsError();
}

namespace {

// Removes the files of `folder` that `isLeftover` picks by name and find data.
template <typename Pick>
void removeFilesPicked(const std::string& folder, Pick isLeftover) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(toWide(folder + "/*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> leftovers;
    do {
        const std::string entryName = fromWide(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            isLeftover(entryName, entry))
            leftovers.push_back(entryName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    for (const std::string& leftover : leftovers)
        DeleteFileW(toWide(folder + "/" + leftover).c_str());
}

uint64_t ticksOf(const FILETIME& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

void removeLeftoverTemporaries(const std::string& folder, std::string_view name) {
    removeFilesPicked(folder, [name](const std::string& entry, const WIN32_FIND_DATAW&) {
        return isTemporaryNameOf(entry, name);
    });
}

void removeStaleTemporaries(const std::string& folder, std::string_view nameEnd,
                            int minimumAgeSeconds) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    constexpr uint64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns
    const uint64_t minimumAge = static_cast<uint64_t>(minimumAgeSeconds) * kTicksPerSecond;
    removeFilesPicked(folder, [&](const std::string& entry, const WIN32_FIND_DATAW& data) {
        return isTemporaryNameOfOneEndingWith(entry, nameEnd) &&
               ticksOf(now) >= ticksOf(data.ftLastWriteTime) + minimumAge;
    });
}
