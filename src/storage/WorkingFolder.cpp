#include "storage/WorkingFolder.h"

#include <cerrno>
#include <filesystem>

#include "common/Utf8Path.h"
#include "storage/FileAccess.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"

namespace {

constexpr std::string_view kLockName = ".vexlo.lock";
constexpr int kMostWindows = 99;

int makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(utf8Path(path), error);
    return error.value();
}

}  // namespace

WorkingFolder WorkingFolder::take(const std::string& programDir, const UserFolders& user) {
    WorkingFolder folder;
    folder.program_ = programDir;
    const std::string ownFolder = user.data + "/" + std::string(ownFolderName());
    const bool programWritable = canCreateFilesIn(programDir);
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
