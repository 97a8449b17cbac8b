#include "storage/FichIni.h"

#include <cerrno>
#include <string_view>

#include "storage/FileAccess.h"
#include "storage/FileLock.h"
#include "storage/IniEncoding.h"
#include "storage/IniText.h"

namespace {

std::string_view trimmedName(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool hasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool acceptedForWriting(std::string_view section, std::string_view key, std::string_view value) {
    if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) {
        return false;
    }
    return !section.empty() && section.find(']') == std::string_view::npos && !key.empty() &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

std::string_view bodyOf(std::string_view bytes, IniEncoding encoding) {
    return encoding == IniEncoding::Utf8WithBom ? bytes.substr(kUtf8Bom.size()) : bytes;
}

}  // namespace

std::string iniValueOf(std::string_view fileBytes, std::string_view section, std::string_view key) {
    const IniEncoding encoding = detectIniEncoding(fileBytes);
    const std::string_view stored =
        findIniValue(bodyOf(fileBytes, encoding), textToFile(trimmedName(section), encoding),
                     textToFile(trimmedName(key), encoding));
    return valueFromFile(stored, encoding, kIniValueMaxLength);
}

std::optional<std::string> withIniValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key, std::string_view value) {
    section = trimmedName(section);
    key = trimmedName(key);
    if (!acceptedForWriting(section, key, value)) {
        return std::nullopt;
    }
    const IniEncoding encoding = detectIniEncoding(fileBytes);
    std::string updated(encoding == IniEncoding::Utf8WithBom ? kUtf8Bom : std::string_view{});
    updated += setIniValue(bodyOf(fileBytes, encoding), textToFile(section, encoding),
                           textToFile(key, encoding), textToFile(value, encoding));
    return updated;
}

std::string LireIni(const std::string& section, const std::string& key, const std::string& path) {
    std::string bytes;
    if (readRegularFile(path, bytes) != 0) {
        return {};
    }
    return iniValueOf(bytes, section, key);
}

int32_t EcrireIni(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path) {
    return EcrireIni(section, {{key, value}}, path).failed() ? 0 : 1;
}

SystemError EcrireIni(const std::string& section, const std::vector<IniKeyValue>& keys,
                      const std::string& path) {
    // Refusals need no lock, and a folder or device would get a lock file beside it.
    for (const auto& [key, value] : keys) {
        if (!acceptedForWriting(trimmedName(section), trimmedName(key), value)) {
            return {path, EINVAL};
        }
    }
    if (const int error = notRegularFileError(path); error != 0) {
        return {path, error};
    }
    // Each writer reads, changes and replaces the whole file: without the lock a writer's key
    // vanishes under another's replacement.
    FileLock lock;
    if (const int error = lock.wait(lockPathFor(path)); error != 0) {
        return {path, error};
    }
    std::string bytes;
    const int readError = readRegularFile(path, bytes);
    if (readError != 0 && readError != ENOENT) {
        return {path, readError};
    }
    for (const auto& [key, value] : keys) {
        std::optional<std::string> updated = withIniValue(bytes, section, key, value);
        if (!updated) {
            return {path, EINVAL};
        }
        bytes = std::move(*updated);
    }
    return {path, writeFileAtomically(path, bytes)};
}
