#include "storage/WorkingFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "storage/FileAccess.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"

namespace {

constexpr std::string_view kLockName = ".vexlo.lock";
constexpr int kMostWindows = 99;

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

int makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return error.value();
}

}  // namespace

UserFolders userFoldersFromEnvironment() {
    const std::string home = homeFolder();
    const std::string dataHome = environment("XDG_DATA_HOME");
    const std::string configHome = environment("XDG_CONFIG_HOME");
    return {isAbsolute(dataHome) ? dataHome : home + "/.local/share",
            documentsFolder(home, isAbsolute(configHome) ? configHome : home + "/.config")};
}

WorkingFolder WorkingFolder::take(const std::string& programDir, const UserFolders& user) {
    WorkingFolder folder;
    folder.program_ = programDir;
    const std::string ownFolder = user.data + "/vexlo";
    const bool programWritable = ::access(programDir.c_str(), W_OK) == 0;
    std::string usual = programWritable ? programDir : ownFolder;
    folder.work_ = programWritable ? workFolderPath(programDir) : user.documents + "/Travail";
    if (!programWritable) {
        makeFolder(folder.work_);  // without it the dialogs merely open elsewhere
    }

    folder.working_ = usual;
    for (int window = 1; window <= kMostWindows; ++window) {
        const std::string candidate =
            window == 1 ? usual : ownFolder + "/fenêtre-" + std::to_string(window);
        if (const int error = makeFolder(candidate); error != 0) {
            folder.error_ = {candidate, error};
            folder.working_ = candidate;
            return folder;
        }
        const int locked = folder.lock_.tryTake(candidate + "/" + std::string(kLockName));
        if (locked == EWOULDBLOCK) {
            folder.heldByAnother_ = usual;
            folder.error_ = {usual, EBUSY};
            continue;
        }
        folder.working_ = candidate;
        folder.error_ = locked == 0 ? SystemError{} : SystemError{candidate, locked};
        break;
    }
    if (folder.error_.failed()) {
        return folder;
    }

    for (const std::string_view name :
         {kWorkingSequenceFileName, kGeneratedSourceName, kBuildDescriptionName}) {
        removeLeftoverTemporaries(folder.working_, name);
    }
    // Saves killed midway leave theirs in the pupil's folder; other windows may be saving there.
    removeStaleTemporaries(folder.work_, kSequenceExtension, kStaleTemporarySeconds);
    if (folder.working_ != programDir) {
        const std::string makefile = "/" + std::string(kBuildDescriptionName);
        const FileOpResult copied =
            copyFileAtomically(programDir + makefile, folder.working_ + makefile);
        if (!copied.ok()) {
            folder.error_ = copied.error;
        }
    }
    return folder;
}
