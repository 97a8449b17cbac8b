#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include "ChildRun.h"
#include "TestFiles.h"
#include "storage/WorkingFolder.h"

namespace {

// A program folder holding the module's Makefile, and a user's home open to the unprivileged
// child that plays the pupil.
struct Classroom {
    Classroom() {
        writeBytes(program.file("Makefile"), "all:\n");
        ::chmod(home.path().c_str(), 0777);
    }
    std::string ownFolder() const { return user.data + "/vexlo"; }

    TempFolder program{"vexlo-programme"};
    TempFolder home{"vexlo-eleve"};
    UserFolders user{home.file(".local/share"), home.file("Documents")};
};

// Sets (or, for nullptr, removes) an environment variable for the life of the object.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string describe(const WorkingFolder& folder) {
    return folder.workingFolder() + " | " + folder.workFolder() + " | " +
           std::to_string(folder.error().number) + " " + folder.error().path;
}

}  // namespace

TEST(WorkingFolderTest, AWritableProgramFolderIsTheWorkingFolderAndLosesOnlyItsLeftovers) {
    Classroom room;
    for (const char* name :
         {".MessageTemporaire.car.k3j9x0ab.tmp", ".AfficheurCarac.c.00000000.tmp",
          ".autre.car.k3j9x0ab.tmp", ".MessageTemporaire.car.court.tmp"}) {
        writeBytes(room.program.file(name), "x");
    }
    const WorkingFolder folder = WorkingFolder::take(room.program.path(), room.user);
    EXPECT_EQ(describe(folder),
              room.program.path() + " | " + room.program.file("Travail") + " | 0 ");
    EXPECT_EQ(room.program.listing(),
              ".MessageTemporaire.car.court.tmp .autre.car.k3j9x0ab.tmp .vexlo.lock Makefile");
    EXPECT_EQ(room.home.listing(), "") << "the user's folders are left alone";
}

TEST(WorkingFolderTest, AProgramFolderThePupilCannotWriteSendsTheWorkToTheUsersFolders) {
    Classroom room;
    ::chmod(room.program.path().c_str(), 0555);
    const std::string chosen =
        inChild([&] { return describe(WorkingFolder::take(room.program.path(), room.user)); },
                {.unprivileged = true});
    EXPECT_EQ(chosen, room.ownFolder() + " | " + room.user.documents + "/Travail | 0 ");
    EXPECT_EQ(readBytes(room.ownFolder() + "/Makefile"), "all:\n");
    EXPECT_TRUE(exists(room.user.documents + "/Travail"));
}

TEST(WorkingFolderTest, AUserFolderThatCannotBeMadeIsNamed) {
    Classroom room;
    ::chmod(room.program.path().c_str(), 0555);
    ::chmod(room.home.path().c_str(), 0555);
    const std::string chosen =
        inChild([&] { return describe(WorkingFolder::take(room.program.path(), room.user)); },
                {.unprivileged = true});
    EXPECT_EQ(chosen, room.ownFolder() + " | " + room.user.documents + "/Travail | " +
                          std::to_string(EACCES) + " " + room.ownFolder());
}

TEST(WorkingFolderTest, ASecondWindowWorksInAFolderOfItsOwnUntilTheFirstCloses) {
    Classroom room;
    {
        const WorkingFolder first = WorkingFolder::take(room.program.path(), room.user);
        const WorkingFolder second = WorkingFolder::take(room.program.path(), room.user);
        EXPECT_EQ(second.heldByAnother(), room.program.path());
        EXPECT_EQ(describe(second),
                  room.ownFolder() + "/fenêtre-2 | " + room.program.file("Travail") + " | 0 ");
        EXPECT_EQ(readBytes(room.ownFolder() + "/fenêtre-2/Makefile"), "all:\n");
        const WorkingFolder third = WorkingFolder::take(room.program.path(), room.user);
        EXPECT_EQ(third.workingFolder(), room.ownFolder() + "/fenêtre-3");
    }
    const WorkingFolder again = WorkingFolder::take(room.program.path(), room.user);
    EXPECT_EQ(again.workingFolder(), room.program.path());
    EXPECT_EQ(again.heldByAnother(), "");
}

TEST(UserFoldersTest, FollowTheDesktopsConventions) {
    const struct {
        const char* what;
        const char* dataHome;  // XDG_DATA_HOME, or nullptr
        const char* userDirs;  // ~/.config/user-dirs.dirs, or nullptr
        const char* data;      // expected, "~" standing for the home folder
        const char* documents;
    } cases[] = {
        {"nothing set", nullptr, nullptr, "~/.local/share", "~/Documents"},
        {"French desktop", nullptr,
         "# xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n",
         "~/.local/share", "~/Mes documents"},
        {"absolute folders", "/srv/donnees", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/srv/donnees",
         "/srv/docs"},
        {"relative data home is ignored", "donnees", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n",
         "~/.local/share", "~/Documents"},
    };
    for (const auto& c : cases) {
        TempFolder home;
        if (c.userDirs != nullptr) {
            ::mkdir(home.file(".config").c_str(), 0755);
            writeBytes(home.file(".config/user-dirs.dirs"), c.userDirs);
        }
        UserFolders user;
        {
            const ScopedVariable homeVariable("HOME", home.path().c_str());
            const ScopedVariable dataHome("XDG_DATA_HOME", c.dataHome);
            const ScopedVariable configHome("XDG_CONFIG_HOME", nullptr);
            user = userFoldersFromEnvironment();
        }
        const auto expanded = [&home](std::string path) {
            return path.starts_with("~") ? home.path() + path.substr(1) : path;
        };
        EXPECT_EQ(user.data, expanded(c.data)) << c.what;
        EXPECT_EQ(user.documents, expanded(c.documents)) << c.what;
    }
}
