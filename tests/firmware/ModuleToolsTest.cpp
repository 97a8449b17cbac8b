#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "firmware/ModuleTools.h"
#include "firmware/ProgramSearch.h"

namespace fs = std::filesystem;

// PATH set for one test and given back afterwards.
struct ToolsTest : testing::Test {
    const std::string savedPath = searchPath();
    ProgramFolder program;  // its name holds a space and an accent
    TempFolder first, second;
    ~ToolsTest() override { setSearchPath(savedPath); }

    static void addProgram(const TempFolder& folder, const std::string& name) {
        const std::string file = folder.file(programFileName(name));
        writeBytes(file, "");
        fs::permissions(file, fs::perms::owner_exec, fs::perm_options::add);
    }
    std::string pathOf(const TempFolder& a, const TempFolder& b) const {
        return a.path() + kSearchPathSeparator + b.path();
    }
};

TEST_F(ToolsTest, EachToolIsLookedForInEveryFolderOfPath) {
    addProgram(first, "make");
    addProgram(second, "avrdude");
    fs::create_directory(second.file(programFileName("avr-gcc")));  // a folder is no program
    setSearchPath(pathOf(first, second));
    EXPECT_EQ(missingTools(), std::vector<std::string>{"avr-gcc"});
    addProgram(first, "avr-gcc");
    EXPECT_TRUE(missingTools().empty());
    setSearchPath("");
    EXPECT_EQ(missingTools(), (std::vector<std::string>{"make", "avr-gcc", "avrdude"}));
}

TEST_F(ToolsTest, TheSettingsFileNamesAFolderLookedInFirst) {
    setSearchPath(first.path());
    EXPECT_EQ(useToolsFolder(program.path()), "");  // no settings file: PATH unchanged
    EXPECT_EQ(searchPath(), first.path());

    for (const char* tool : {"make", "avr-gcc", "avrdude"}) {
        addProgram(second, tool);
    }
    writeBytes(program.file("Vexlo.ini"), "[Outils]\r\nDossier=" + second.path() + "\r\n");
    EXPECT_EQ(useToolsFolder(program.path()), second.path());
    EXPECT_EQ(searchPath(), pathOf(second, first));
    EXPECT_TRUE(missingTools().empty());
}
