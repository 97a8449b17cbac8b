#include "firmware/TextFile.h"

#include <cstring>

#include "common/Windows1252.h"
#include "storage/FileAccess.h"

namespace {

FileStatus outcome(int error, const char* what, const std::string& path) {
    if (error == 0) {
        return {};
    }
    return {false, std::string(what) + " " + path + " : " + std::strerror(error)};
}

}  // namespace

FileStatus readTextFile(const std::string& path, std::string& text) {
    std::string bytes;
    const int error = readRegularFile(path, bytes);
    if (error == 0) {
        text = ansiToUtf8(bytes);
    }
    return outcome(error, "Impossible de lire", path);
}

FileStatus writeTextFileAtomically(const std::string& path, const std::string& text) {
    return outcome(writeFileAtomically(path, utf8ToAnsi(text)), "Impossible d'écrire", path);
}
