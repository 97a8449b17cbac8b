#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "TestFiles.h"
#include "firmware/CharacterBlock.h"

// One character of a sequence: rows A to G and the display duration in seconds.
struct TestCharacter {
    int rows[7];
    double seconds;
};

// The program folder with the module kit, and the two halves of a download done by hand.
class ModuleFolder : public ProgramFolder {
  public:
    std::string templatePath(Role role) const;

    // Stores the sequence as the working sequence file and writes AfficheurCarac.c with the
    // program's own generation (the role's template, the slave's delay, one block each).
    void writeSource(Role role, const std::vector<TestCharacter>& sequence,
                     std::string_view delay = "2") const;

    // What "make <arguments>" prints in the folder with LC_ALL=C, standard error merged, run
    // behind `prefix` (a command that runs make as another user, say).
    std::string make(std::string_view arguments, std::string_view prefix = "") const;
};

// Case-insensitive search, as the window looks for its words; npos when absent.
std::size_t findAnyCase(std::string_view text, std::string_view word);
