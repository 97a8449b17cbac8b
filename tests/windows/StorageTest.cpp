// Files, locks and the INI layer on Windows, against the system itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

#include "ProgramBeside.h"
#include "TestFiles.h"
#include "common/Utf8Path.h"
#include "common/WidePath.h"
#include "common/Windows1252.h"
#include "console/DOSClass.h"
#include "storage/FichIni.h"
#include "storage/FileAccess.h"
#include "storage/FileLock.h"
#include "storage/WorkingFolder.h"

namespace {

const std::string kSection = "Caractères";

// What the profile API of the system reads, as the program's text.
std::string profileValue(const std::string& section, const std::string& key,
                         const std::string& path) {
    char buffer[128] = {};
    const DWORD count =
        GetPrivateProfileStringA(utf8ToAnsi(section).c_str(), utf8ToAnsi(key).c_str(), "", buffer,
                                 127, utf8ToAnsi(path).c_str());
    return ansiToUtf8(std::string(buffer, count));
}

// Each case: the file before (nothing when it does not exist), then one key written.
struct WriteCase {
    const char* name;
    std::string before;
    bool exists;
    std::string section, key, value;
};

// The same writes through the system's profile API and through EcrireIni give the same bytes.
TEST(IniProfileTest, WritesGiveTheBytesOfTheProfileApi) {
    const std::string head = "[Caract\xE8res]\r\n";
    const WriteCase cases[] = {
        {"new file", "", false, kSection, "Nombre", "1"},
        {"new key at the end", head + "Nombre=1\r\n", true, kSection, "Caractère1",
         "31;1;1;15;1;1;1;0.5"},
        {"key replaced in place", head + "Nombre=1\r\nCaract\xE8re1=0\r\n", true, kSection,
         "Nombre", "2"},
        {"new key before the next section", head + "Nombre=1\r\n[Autre]\r\nx=1\r\n", true, kSection,
         "Caractère1", "é€"},
        {"new section at the end", "[Autre]\r\nx=1\r\n", true, kSection, "Nombre", "3"},
        {"key in another case", head + "nombre=1\r\n", true, kSection, "NOMBRE", "4"},
        {"blanks around a replaced key", head + "  Nombre =  1 \r\nx=2\r\n", true, kSection,
         "Nombre", "5"},
    };
    for (const WriteCase& c : cases) {
        const TempFolder folder{"vexlo ini é"};
        const std::string ours = folder.file("nous.car"), system = folder.file("système.car");
        if (c.exists) {
            writeBytes(ours, c.before);
            writeBytes(system, c.before);
        }
        EXPECT_EQ(EcrireIni(c.section, c.key, c.value, ours), 1) << c.name;
        EXPECT_TRUE(
            WritePrivateProfileStringA(utf8ToAnsi(c.section).c_str(), utf8ToAnsi(c.key).c_str(),
                                       utf8ToAnsi(c.value).c_str(), utf8ToAnsi(system).c_str()))
            << c.name;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, utf8ToAnsi(system).c_str());
        EXPECT_EQ(readBytes(ours), readBytes(system)) << c.name;
    }
}

// The same keys read through the system's profile API and through LireIni give the same text.
TEST(IniProfileTest, ReadsGiveTheTextOfTheProfileApi) {
    const TempFolder folder{"vexlo ini é"};
    const std::string path = folder.file("séquence.car");
    writeBytes(path,
               "[Autre]\r\nNombre=9\r\n[Caract\xE8res]\r\n Nombre = 12 \r\nCaract\xE8re1=\"a "
               "b\"\r\nlong=" +
                   std::string(130, 'x') + "\r\naccent=\xE9t\xE9\r\nvide=\r\n");
    for (const std::string key :
         {"Nombre", "nombre", "Caractère1", "long", "accent", "vide", "absente"}) {
        EXPECT_EQ(LireIni(kSection, key, path), profileValue(kSection, key, path)) << key;
    }
    EXPECT_EQ(LireIni("CARACTÈRES", "Nombre", path), "");  // only ASCII letters ignore case
    EXPECT_EQ(LireIni(kSection, "Nombre", folder.file("absent.car")),
              profileValue(kSection, "Nombre", folder.file("absent.car")));
    EXPECT_FALSE(exists(folder.file("absent.car")));
}

// A replacement leaves the old bytes or all the new ones, never a temporary file; what cannot
// be replaced is said, and the file keeps its bytes.
TEST(FileTest, AReplacementIsWholeOrNothing) {
    const TempFolder folder{"vexlo fichiers é"};
    const std::string path = folder.file("séquence.car");
    EXPECT_EQ(writeFileAtomically(path, "ancien"), 0);
    EXPECT_EQ(writeFileAtomically(path, "nouveau"), 0);
    EXPECT_EQ(readBytes(path) + "|" + folder.listing(), "nouveau|séquence.car");

    SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(writeFileAtomically(path, "refusé"), EACCES);
    SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(writeFileAtomically(folder.path(), "x"), EISDIR);
    EXPECT_EQ(writeFileAtomically(folder.file("absent/s.car"), "x"), ENOENT);
    std::string bytes;
    EXPECT_EQ(readRegularFile(folder.path(), bytes), EISDIR);
    EXPECT_EQ(readRegularFile(folder.file("absent.car"), bytes), ENOENT);
    EXPECT_EQ(readRegularFile("NUL", bytes), kNotRegularFile);
    EXPECT_EQ(readBytes(path) + "|" + folder.listing(), "nouveau|séquence.car");

    writeBytes(folder.file(".séquence.car.k3j9x0ab.tmp"), "reste");
    removeLeftoverTemporaries(folder.path(), "séquence.car");
    EXPECT_EQ(folder.listing(), "séquence.car");
    EXPECT_EQ(removeFile(path), 0);
    EXPECT_EQ(removeFile(path), ENOENT);
}

// Runs the storage helper (StorageHelper.cpp) with `arguments`; `whileRunning` acts from its
// DoEvents, as a window does during a download.
struct Helper : DOSClassEvents {
    std::function<void()> whileRunning = [] {};
    std::function<void(const std::string&)> onOutput = [](const std::string&) {};
    std::shared_ptr<DOSClass> dos = DOSClass::create();
    std::string output;
    int32_t run(const std::string& arguments) {
        dos->setEvents(this);
        dos->setCommandName("\"" + programBeside("vexlo_storage_helper.exe") + "\"");
        dos->setCommandArgument(arguments);
        return dos->ExecuteCommand(true);
    }
    void ReceiveOutputs(std::string& text) override { output += text, onOutput(output); }
    void DoEvents() override {
        std::exchange(whileRunning, [] {})();
    }
};

// Two windows validating at once: each write reads, changes and replaces the whole file.
TEST(FileTest, TwoProcessesWritingDifferentKeysAtOnceLoseNone) {
    const TempFolder folder{"vexlo verrou é"};
    const std::string path = folder.file("MessageTemporaire.car");
    Helper first, second;
    first.whileRunning = [&] { EXPECT_EQ(second.run("write \"" + path + "\" 100 100"), 0); };
    EXPECT_EQ(first.run("write \"" + path + "\" 0 100"), DOSClass::kResultEnded);
    EXPECT_EQ(first.output + second.output, "");
    for (int key = 0; key < 200; ++key)
        EXPECT_EQ(LireIni(kSection, std::to_string(key), path), "v") << "lost " << key;
}

TEST(FileTest, ALockHeldByAnotherProcessIsRefusedUntilItEnds) {
    const TempFolder folder{"vexlo verrou é"};
    const std::string lockPath = folder.file(".vexlo.lock");
    Helper holder;
    FileLock mine;
    int whileHeld = -1;
    holder.onOutput = [&](const std::string& output) {
        if (output == "locked") {
            whileHeld = mine.tryTake(lockPath);
            holder.dos->PutInputs("\n");
        }
    };
    EXPECT_EQ(holder.run("lock \"" + lockPath + "\""), DOSClass::kResultEnded);
    EXPECT_EQ(whileHeld, EWOULDBLOCK);
    EXPECT_EQ(mine.tryTake(lockPath), 0);
}

// Wine has no access rights, so a program folder that cannot be written is played by one that
// does not exist; rights themselves can only be proven on Windows.
TEST(WorkingFolderTest, KnownFoldersAndTheOwnFolderWhenTheProgramFolderIsClosed) {
    const UserFolders known = userFoldersFromEnvironment();
    EXPECT_TRUE(known.data.size() > 3 && known.data[1] == ':' && known.data[2] == '/')
        << known.data;
    EXPECT_TRUE(known.documents.size() > 3 && known.documents[1] == ':') << known.documents;
    EXPECT_EQ(known.data.find('\\') + known.documents.find('\\'), 2 * std::string::npos);

    const TempFolder program{"vexlo programme é"}, home{"vexlo élève"};
    writeBytes(program.file("Makefile"), "all:\n");
    const UserFolders user{home.file("AppData/Local"), home.file("Documents")};
    {
        const WorkingFolder open = WorkingFolder::take(program.path(), user);
        EXPECT_EQ(open.workingFolder() + "|" + open.workFolder(),
                  program.path() + "|" + program.file("Travail"));
    }
    const WorkingFolder closed = WorkingFolder::take(program.file("absent"), user);
    EXPECT_EQ(closed.workingFolder() + "|" + closed.workFolder(),
              user.data + "/Vexlo|" + user.documents + "/Travail");
    EXPECT_TRUE(exists(user.documents + "/Travail"));
}

}  // namespace
