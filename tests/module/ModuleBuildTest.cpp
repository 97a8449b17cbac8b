// "make all" with the real module Makefile, templates and avr-gcc, in a copy of the program folder.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ModuleFolder.h"

namespace {

// A, a tall T shown 1.25 s (tick count 12.5), and a C shown for no time at all.
const std::vector<TestCharacter> threeCharacters = {
    {{4, 10, 17, 17, 31, 17, 17}, 0.5},
    {{31, 4, 4, 4, 4, 4, 4}, 1.25},
    {{14, 17, 1, 1, 1, 17, 14}, 0},
};

void expectBuilt(const ModuleFolder& folder, const CommandRun& run) {
    const std::size_t word = findAnyCase(run.output, "aucune");
    ASSERT_NE(word, std::string::npos) << run.output;
    EXPECT_GT(word, 0u) << "the window does not look at the first character";
    EXPECT_EQ(findAnyCase(run.output, "warning"), std::string::npos) << run.output;
    EXPECT_FALSE(readBytes(folder.file("AfficheurCarac.hex")).empty());
}

void expectFailed(const ModuleFolder& folder, const CommandRun& run) {
    EXPECT_EQ(findAnyCase(run.output, "aucune"), std::string::npos) << run.output;
    EXPECT_NE(findAnyCase(run.output, "error"), std::string::npos) << run.output;
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.hex")));
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.elf")));
}

class BothRoles : public testing::TestWithParam<Role> {};

INSTANTIATE_TEST_SUITE_P(Module, BothRoles, testing::Values(Role::Maitre, Role::Esclave),
                         [](const testing::TestParamInfo<Role>& param) {
                             return param.param == Role::Maitre ? "Maitre" : "Esclave";
                         });

TEST_P(BothRoles, ThreeCharacterSequenceCompiles) {
    ModuleFolder folder;
    folder.writeSource(GetParam(), threeCharacters);
    expectBuilt(folder, folder.make("all"));
}

TEST_P(BothRoles, EmptySequenceCompiles) {
    ModuleFolder folder;
    folder.writeSource(GetParam(), {});
    expectBuilt(folder, folder.make("all"));
}

TEST_P(BothRoles, BrokenTemplateFailsAndLeavesNoStaleFirmware) {
    ModuleFolder folder;
    folder.writeSource(GetParam(), threeCharacters);
    ASSERT_NE(findAnyCase(folder.make("all").output, "aucune"), std::string::npos);

    std::string broken = readBytes(folder.templatePath(GetParam()));
    broken.replace(broken.find("volatile uint8_t ValLigne[7];"), 29,
                   "volatile uint8_t ValLigne[7]");
    writeBytes(folder.templatePath(GetParam()), broken);
    folder.writeSource(GetParam(), threeCharacters);

    expectFailed(folder, folder.make("all"));
}

TEST(ModuleBuild, MissingSourceFails) {
    ModuleFolder folder;
    expectFailed(folder, folder.make("all"));
}

struct DelayCase {
    const char* typed;
    bool compiles;
};

void PrintTo(const DelayCase& delay, std::ostream* out) {
    *out << '"' << delay.typed << '"' << (delay.compiles ? " compiles" : " fails");
}

class SlaveDelay : public testing::TestWithParam<DelayCase> {};

INSTANTIATE_TEST_SUITE_P(Module, SlaveDelay,
                         testing::Values(DelayCase{"0", true}, DelayCase{"3", true},
                                         DelayCase{"", true}, DelayCase{"-1", true},
                                         DelayCase{"1.5", true}, DelayCase{"trois", false},
                                         DelayCase{"aucune", false}, DelayCase{"Aucune", false},
                                         DelayCase{"x; /* AUCUNE */", false}),
                         [](const testing::TestParamInfo<DelayCase>& param) {
                             return "Case" + std::to_string(param.index);
                         });

// The delay box text goes into the source as typed; whatever the compiler quotes of it, a
// failed build must never show the word of success.
TEST_P(SlaveDelay, CompilesOrFailsWithoutTheWordOfSuccess) {
    ModuleFolder folder;
    folder.writeSource(Role::Esclave, threeCharacters, GetParam().typed);
    const CommandRun run = folder.make("all");
    if (GetParam().compiles) {
        expectBuilt(folder, run);
    } else {
        expectFailed(folder, run);
    }
}

// More characters than the flash beside the bootloader holds: the link fails instead of a
// firmware that would overwrite the bootloader.
TEST(ModuleBuild, SequenceTooBigForTheFlashFails) {
    ModuleFolder folder;
    folder.writeSource(Role::Maitre, std::vector<TestCharacter>(700, threeCharacters[0]));
    const CommandRun run = folder.make("all");
    expectFailed(folder, run);
    EXPECT_NE(run.output.find("will not fit"), std::string::npos) << run.output;
}

}  // namespace
