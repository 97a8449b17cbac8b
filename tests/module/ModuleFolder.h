#pragma once

#include "TestFiles.h"
#include "firmware/CharacterBlock.h"

#include <string>
#include <string_view>
#include <vector>

// One character of a sequence: rows A to G and the display duration in seconds.
struct TestCharacter {
    int rows[7];
    double seconds;
};

// What a command printed (standard error merged) and how long it took.
struct CommandRun {
    std::string output;
    double seconds = 0;
};

// A copy of the program folder as the build lays it out for the module tools: the module
// Makefile and the two templates in "modèle/", in a fresh folder whose name holds a space and an
// accent. Removed with its contents at the end of the test.
class ModuleFolder {
  public:
    ModuleFolder();

    std::string file(std::string_view name) const;
    std::string templatePath(Role role) const;

    // Stores the sequence as the working sequence file and writes AfficheurCarac.c with the
    // program's own generation (the role's template, the slave's delay, one block each).
    void writeSource(Role role, const std::vector<TestCharacter>& sequence,
                     std::string_view delay = "2") const;

    // Runs "make <arguments>" in the folder with LC_ALL=C, standard error merged, behind
    // `prefix` (a command that runs make as another user, say).
    CommandRun make(std::string_view arguments, std::string_view prefix = "") const;

  private:
    TempFolder folder_;
    std::string path_;
};

// Case-insensitive search, as the window looks for its words; npos when absent.
std::size_t findAnyCase(std::string_view text, std::string_view word);
