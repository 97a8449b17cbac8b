#include "storage/WorkingFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ChildRun.h"
#include "TestFiles.h"

namespace {

// A program folder holding the module's Makefile, and a home open to the unprivileged child
// that plays the pupil.
struct Classroom {
    Classroom() {
        writeBytes(program.file("Makefile"), "all:\n");
        ::chmod(home.path().c_str(), 0777);
    }
    std::string take(bool asPupil = false) {
        const auto describe = [&] {
            const WorkingFolder f = WorkingFolder::take(program.path(), user);
            return f.workingFolder() + " | " + f.workFolder() + " | " +
                   std::to_string(f.error().number) + " " + f.error().path;
        };
        return asPupil ? inChild(describe, {.unprivileged = true}) : describe();
    }

    TempFolder program{"vexlo-programme"}, home{"vexlo-eleve"};
    UserFolders user{home.file(".local/share"), home.file("Documents")};
    const std::string own = user.data + "/vexlo";
};

TEST(WorkingFolderTest, AWritableProgramFolderIsTheWorkingFolderAndLosesOnlyItsLeftovers) {
    Classroom room;
    for (const char* name :
         {".MessageTemporaire.car.k3j9x0ab.tmp", ".AfficheurCarac.c.00000000.tmp",
          ".autre.car.k3j9x0ab.tmp", ".MessageTemporaire.car.court.tmp"}) {
        writeBytes(room.program.file(name), "x");
    }
    EXPECT_EQ(room.take(), room.program.path() + " | " + room.program.file("Travail") + " | 0 ");
    EXPECT_EQ(room.program.listing(),
              ".MessageTemporaire.car.court.tmp .autre.car.k3j9x0ab.tmp .vexlo.lock Makefile");
    EXPECT_EQ(room.home.listing(), "");
}

TEST(WorkingFolderTest, AProgramFolderThePupilCannotWriteSendsTheWorkToTheUsersFolders) {
    Classroom room;
    ::chmod(room.program.path().c_str(), 0555);
    ::chmod(room.home.path().c_str(), 0555);
    EXPECT_EQ(room.take(true), room.own + " | " + room.user.documents + "/Travail | " +
                                   std::to_string(EACCES) + " " + room.own);
    ::chmod(room.home.path().c_str(), 0777);
    EXPECT_EQ(room.take(true), room.own + " | " + room.user.documents + "/Travail | 0 ");
    EXPECT_EQ(readBytes(room.own + "/Makefile"), "all:\n");
    EXPECT_TRUE(exists(room.user.documents + "/Travail"));
}

TEST(WorkingFolderTest, ASecondWindowWorksInAFolderOfItsOwnUntilTheFirstCloses) {
    Classroom room;
    {
        const WorkingFolder first = WorkingFolder::take(room.program.path(), room.user);
        const WorkingFolder second = WorkingFolder::take(room.program.path(), room.user);
        EXPECT_EQ(second.heldByAnother(), room.program.path());
        EXPECT_EQ(room.take(), room.own + "/fenêtre-3 | " + room.program.file("Travail") + " | 0 ");
        EXPECT_EQ(second.workingFolder(), room.own + "/fenêtre-2");
        EXPECT_EQ(readBytes(room.own + "/fenêtre-2/Makefile"), "all:\n");
    }
    EXPECT_EQ(room.take(), room.program.path() + " | " + room.program.file("Travail") + " | 0 ");
}

TEST(UserFoldersTest, FollowTheDesktopsConventions) {
    const struct {
        const char *dataHome, *userDirs;  // XDG_DATA_HOME and ~/.config/user-dirs.dirs, or none
        std::string expected;             // data and documents, "~" standing for the home
    } cases[] = {
        {nullptr, nullptr, "~/.local/share ~/Documents"},
        {nullptr, "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n",
         "~/.local/share ~/Mes documents"},
        {"/srv/donnees", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/srv/donnees /srv/docs"},
        {"donnees", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "~/.local/share ~/Documents"},
    };
    const std::string oldHome = getenv("HOME");
    for (const auto& c : cases) {
        TempFolder home;
        if (c.userDirs != nullptr) {
            ::mkdir(home.file(".config").c_str(), 0755);
            writeBytes(home.file(".config/user-dirs.dirs"), c.userDirs);
        }
        setenv("HOME", home.path().c_str(), 1);
        c.dataHome != nullptr ? setenv("XDG_DATA_HOME", c.dataHome, 1) : unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        const UserFolders user = userFoldersFromEnvironment();
        std::string expected = c.expected;
        for (size_t at; (at = expected.find('~')) != std::string::npos;)
            expected.replace(at, 1, home.path());
        EXPECT_EQ(user.data + " " + user.documents, expected);
    }
    setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
