#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "storage/FileAccess.h"
#include "storage/UserFolders.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) {
            home = entry->pw_dir;
        }
    }
    return home;
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" or ="/absolute/path", as xdg-user-dirs writes it.
std::string documentsFolder(const std::string& home, const std::string& configHome) {
    std::string bytes;
    readRegularFile(configHome + "/user-dirs.dirs", bytes);
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', pos), bytes.size());
        const std::string_view line = std::string_view(bytes).substr(pos, end - pos);
        pos = end + 1;
        if (!line.starts_with(kKey) || !line.ends_with('"')) {
            continue;
        }
        const std::string value(line.substr(kKey.size(), line.size() - kKey.size() - 1));
        if (value.starts_with("$HOME/") && value.size() > 6) {
            return home + value.substr(5);
        }
        if (isAbsolute(value)) {
            return value;
        }
    }
    return home + "/Documents";
}

}  // namespace

UserFolders userFoldersFromEnvironment() {
    const std::string home = homeFolder();
    const std::string dataHome = environment("XDG_DATA_HOME");
    const std::string configHome = environment("XDG_CONFIG_HOME");
    return {isAbsolute(dataHome) ? dataHome : home + "/.local/share",
            documentsFolder(home, isAbsolute(configHome) ? configHome : home + "/.config")};
}

std::string_view ownFolderName() {
    return "vexlo";
}

bool canCreateFilesIn(const std::string& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}
