#include "firmware/TextFile.h"

#include "common/Windows1252.h"
#include "storage/FileAccess.h"

SystemError readTextFile(const std::string& path, std::string& text) {
    std::string bytes;
    const int error = readRegularFile(path, bytes);
    if (error == 0) {
        text = ansiToUtf8(bytes);
    }
    return {path, error};
}

SystemError writeTextFileAtomically(const std::string& path, const std::string& text) {
    return {path, writeFileAtomically(path, utf8ToAnsi(text))};
}
