#include "PortFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "common/SystemError.h"
#include "common/UniqueFd.h"

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the folder and the missing ones above it, each 0700. Returns 0 or the error number.
int makeFolders(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
        return 0;
    }
    if (errno != ENOENT || folderOf(folder) == folder) {
        return errno;
    }
    if (const int error = makeFolders(folderOf(folder)); error != 0) {
        return error;
    }
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

std::string quoted(const std::string& path) {
    return "« " + path + " »";
}

// Why the Makefile would not trust a file in the folder, or an empty text.
std::string untrusted(const std::string& folder) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) {
        return frenchDescription({folder, errno});
    }
    if (status.st_uid != geteuid()) {
        return "le dossier " + quoted(folder) + " appartient à un autre compte";
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return "d'autres comptes peuvent écrire dans le dossier " + quoted(folder) +
               " (chmod 700 le rend privé)";
    }
    return {};
}

}  // namespace

std::string portFilePath() {
    if (const char* chosen = std::getenv("VEXLO_MODULE_PORT_FILE"); chosen && *chosen) {
        return chosen;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return std::string(runtime) + "/vexlo-module-" + std::to_string(getuid()) + ".port";
    }
    return homeFolder() + "/.cache/vexlo/vexlo-module.port";
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

std::string PortFile::write(const std::string& path, const std::string& port) {
    const std::string folder = folderOf(path);
    if (const int error = makeFolders(folder); error != 0) {
        return frenchDescription({folder, error});
    }
    if (std::string refused = untrusted(folder); !refused.empty()) {
        return refused;
    }
    const std::string text = port + "\n";
    std::string partial = folder + "/.vexlo-module.port.XXXXXX";
    UniqueFd file(mkostemp(partial.data(), O_CLOEXEC));  // O_EXCL: never a file planted there
    if (!file.open()) {
        return frenchDescription({folder, errno});
    }
    const bool written = ::write(file.get(), text.data(), text.size()) == std::ssize(text);
    const int writeError = written ? 0 : errno == 0 ? EIO : errno;
    const int closeError = file.close();
    const int error = writeError != 0 ? writeError : closeError;
    if (error != 0 || std::rename(partial.c_str(), path.c_str()) != 0) {
        const SystemError failure{path, error != 0 ? error : errno};
        std::remove(partial.c_str());
        return frenchDescription(failure);
    }
    path_ = path;
    text_ = text;
    return {};
}
