#include "PortFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string portFilePath() {
    if (const char* chosen = std::getenv("VEXLO_MODULE_PORT_FILE"); chosen && *chosen) {
        return chosen;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return std::string(runtime && *runtime ? runtime : "/tmp") + "/vexlo-module-" +
           std::to_string(getuid()) + ".port";
}

PortFile::~PortFile() {
    if (path_.empty()) {
        return;
    }
    std::ifstream file(path_, std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (now == text_) {
        std::remove(path_.c_str());
    }
}

SystemError PortFile::write(const std::string& path, const std::string& port) {
    const std::string text = port + "\n";
    const std::string partial = path + "." + std::to_string(getpid());
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return {path, errno};
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        const int error = written ? errno : writeError;
        std::remove(partial.c_str());
        return {path, error};
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(partial.c_str());
        return {path, error};
    }
    path_ = path;
    text_ = text;
    return {};
}
