#pragma once

#include <string>
#include <string_view>

#include "common/SystemError.h"
#include "storage/FileLock.h"
#include "storage/UserFolders.h"

// The files a window makes in its working folder, besides the working sequence file.
inline constexpr std::string_view kGeneratedSourceName = "AfficheurCarac.c";
inline constexpr std::string_view kBuildDescriptionName = "Makefile";

// Where one window reads its files and makes its own. The object holds a lock on its working
// folder for as long as it lives, so no other window, in this process or another, works there.
class WorkingFolder {
  public:
    // Chooses the folders for the program folder `programDir` (pictures, templates, Makefile):
    //  - a program folder this user can write (a copied or built folder) is the working folder,
    //    and its "Travail" is where the file dialogs open;
    //  - a program folder this user cannot write (installed for all users) leaves the working
    //    folder to the own folder user.data + "/" + ownFolderName() and the dialogs to
    //    user.documents + "/Travail", both created when missing;
    //  - a working folder that another window holds is left to it: this one takes
    //    "fenêtre-2" (or 3, 4...) in that own folder, and heldByAnother() names the one left.
    // A working folder other than the program folder receives a copy of the module's Makefile.
    // Temporary files that killed writes left there are removed, and in the work folder those
    // of sequence files that have been there for kStaleTemporarySeconds. When the working folder
    // cannot be prepared, error() says what failed; the paths are set all the same.
    static WorkingFolder take(const std::string& programDir, const UserFolders& user);

    const std::string& programFolder() const { return program_; }
    const std::string& workingFolder() const { return working_; }
    const std::string& workFolder() const { return work_; }
    const std::string& heldByAnother() const { return heldByAnother_; }
    const SystemError& error() const { return error_; }

  private:
    std::string program_;
    std::string working_;
    std::string work_;
    std::string heldByAnother_;
    SystemError error_;
    FileLock lock_;
};
