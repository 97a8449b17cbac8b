// "make all" with the real module Makefile, templates and avr-gcc, in a copy of the program folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleFolder.h"
#include "firmware/ModuleCapacity.h"

namespace {

// A, a tall T shown 1.25 s (tick count 12.5), and a C shown for no time at all.
const std::vector<TestCharacter> threeCharacters = {
    {{4, 10, 17, 17, 31, 17, 17}, 0.5},
    {{31, 4, 4, 4, 4, 4, 4}, 1.25},
    {{14, 17, 1, 1, 1, 17, 14}, 0},
};

void expectBuilt(const ModuleFolder& folder, const std::string& output) {
    const std::size_t word = findAnyCase(output, "aucune");
    ASSERT_NE(word, std::string::npos) << output;
    EXPECT_GT(word, 0u) << "the window does not look at the first character";
    EXPECT_EQ(findAnyCase(output, "warning"), std::string::npos) << output;
    EXPECT_FALSE(readBytes(folder.file("AfficheurCarac.hex")).empty());
}

void expectFailed(const ModuleFolder& folder, const std::string& output) {
    EXPECT_EQ(findAnyCase(output, "aucune"), std::string::npos) << output;
    EXPECT_NE(findAnyCase(output, "error"), std::string::npos) << output;
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.hex")));
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.elf")));
}

TEST(ModuleBuildTest, EmptyAndThreeCharacterSequencesCompileInBothRoles) {
    for (const Role role : {Role::Maitre, Role::Esclave}) {
        ModuleFolder folder;
        folder.writeSource(role, {});
        expectBuilt(folder, folder.make("all"));
        folder.writeSource(role, threeCharacters);
        expectBuilt(folder, folder.make("all"));
    }
}

TEST(ModuleBuildTest, ABrokenTemplateOrNoSourceFailsAndLeavesNoStaleFirmware) {
    ModuleFolder folder;
    folder.writeSource(Role::Maitre, threeCharacters);
    ASSERT_NE(findAnyCase(folder.make("all"), "aucune"), std::string::npos);
    std::string broken = readBytes(folder.templatePath(Role::Maitre));
    broken.replace(broken.find("volatile uint8_t ValLigne[7];"), 29,
                   "volatile uint8_t ValLigne[7]");
    writeBytes(folder.templatePath(Role::Maitre), broken);
    folder.writeSource(Role::Maitre, threeCharacters);
    expectFailed(folder, folder.make("all"));

    ModuleFolder empty;
    expectFailed(empty, empty.make("all"));
}

// The delay box text goes into the source as typed; whatever the compiler quotes of it, a
// failed build must never show the word of success.
TEST(ModuleBuildTest, TheSlaveDelayCompilesOrFailsWithoutTheWordOfSuccess) {
    const struct {
        const char* typed;
        bool compiles;
    } cases[] = {
        {"3", true}, {"", true}, {"1.5", true}, {"trois", false}, {"x; /* AUCUNE */", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ModuleFolder folder;
        folder.writeSource(Role::Esclave, threeCharacters, c.typed);
        if (c.compiles) {
            expectBuilt(folder, folder.make("all"));
        } else {
            expectFailed(folder, folder.make("all"));
        }
    }
}

// The longest sequence the window lets through, with the largest blocks (a fractional duration
// makes the master compare floating-point numbers), fits beside the bootloader.
TEST(ModuleBuild, LongestSequenceAllowedFitsTheFlash) {
    ModuleFolder folder;
    folder.writeSource(
        Role::Maitre,
        std::vector<TestCharacter>(kMaxFirmwareCharacters, {{31, 17, 29, 7, 19, 11, 21}, 12.5}));
    expectBuilt(folder, folder.make("all"));
}

// More characters than the flash beside the bootloader holds: the link fails instead of a
// firmware that would overwrite the bootloader.
TEST(ModuleBuildTest, ASequenceTooBigForTheFlashFails) {
    ModuleFolder folder;
    folder.writeSource(Role::Maitre, std::vector<TestCharacter>(700, threeCharacters[0]));
    const std::string output = folder.make("all");
    expectFailed(folder, output);
    EXPECT_NE(output.find("will not fit"), std::string::npos) << output;
}

}  // namespace
