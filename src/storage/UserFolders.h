#pragma once

#include <string>
#include <string_view>

// The user's own folders, as the desktop names them (UTF-8, "/" between names).
struct UserFolders {
    // POSIX: $XDG_DATA_HOME, or ~/.local/share. Windows: the local application data known
    // folder (%LOCALAPPDATA%).
    std::string data;
    // POSIX: XDG_DOCUMENTS_DIR of user-dirs.dirs, or ~/Documents. Windows: the Documents known
    // folder.
    std::string documents;
};

// POSIX: from HOME (or the password database), XDG_DATA_HOME, XDG_CONFIG_HOME and
// $XDG_CONFIG_HOME/user-dirs.dirs. Windows: from the known folders, never from the environment.
UserFolders userFoldersFromEnvironment();

// The folder of the program's own files within UserFolders::data: "vexlo" on POSIX
// (~/.local/share/vexlo), "Vexlo" on Windows (%LOCALAPPDATA%\Vexlo).
std::string_view ownFolderName();

// Whether this user may create files in `folder`.
bool canCreateFilesIn(const std::string& folder);
