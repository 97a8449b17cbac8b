#include "storage/UserFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "common/WidePath.h"

namespace {

// Empty when the user has no such folder (a profile being set up, a service account).
std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &wide) == S_OK)
        folder = fromWide(wide);
    CoTaskMemFree(wide);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

}  // namespace

UserFolders userFoldersFromEnvironment() {
    return {knownFolder(FOLDERID_LocalAppData), knownFolder(FOLDERID_Documents)};
}

std::string_view ownFolderName() {
    return "Vexlo";
}

// Rights on Windows are access lists, inherited and combined with groups: the sure way to know
// is to try, with a probe file the system deletes when it is closed.
bool canCreateFilesIn(const std::string& folder) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string probe = folder + "/.vexlo-probe-" +
                                  std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(attempt) + ".tmp";
        const HANDLE file = CreateFileW(
            toWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}
