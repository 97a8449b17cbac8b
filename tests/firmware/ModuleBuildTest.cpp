#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ProgramFolder.h"
#include "firmware/DownloadOutcome.h"
#include "firmware/Generation.h"

namespace fs = std::filesystem;

namespace {

const fs::path moduleFolder = fs::path(VEXLO_TEST_DATA) / ".." / ".." / "module";

// Everything the command prints on its standard output and error.
std::string outputOf(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    ::pclose(pipe);
    return output;
}

}  // namespace

TEST(ModuleBuildTest, GeneratedSourcesOfBothRolesCompileWithTheModuleMakefile) {
    if (std::system("command -v avr-gcc >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "avr-gcc is not on PATH";
    }
    for (const Role role : {Role::Maitre, Role::Esclave}) {
        const char* roleName = role == Role::Maitre ? "maître" : "esclave";
        ProgramFolder folder;
        fs::copy_file(moduleFolder / "Makefile", fs::path(folder.path()) / "Makefile");
        for (const Role each : {Role::Maitre, Role::Esclave}) {
            const fs::path file = folder.templatePath(each);
            fs::copy_file(moduleFolder / file.filename(), file);
        }
        folder.writeSequence(
            "3", {"4;10;17;17;31;17;17;0.5", "31;1;1;15;1;1;1;1.25", "14;17;16;16;16;17;14;2"});

        TextBox RTB1;
        int16_t count = 0;
        int16_t current = 0;
        const GenerationResult result =
            genererSource(RTB1, role, "2", folder.path(), count, current);
        ASSERT_EQ(result.kind, GenerationResult::Ok) << roleName << ": " << result.reason;

        RTB1.Text(outputOf("cd '" + folder.path() + "' && LC_ALL=C make all"));
        EXPECT_TRUE(compilationReussie(RTB1)) << roleName << ":\n" << RTB1.Text();
        EXPECT_TRUE(fs::exists(fs::path(folder.path()) / "AfficheurCarac.hex")) << roleName;
    }
}
