#pragma once

#include <string>
#include <vector>

#include "TestFiles.h"
#include "firmware/CharacterBlock.h"

// A program folder in a temporary place, laid out as the generation expects it: the templates
// in "modèle/" and the working sequence file beside them.
class ProgramFolder {
  public:
    ProgramFolder();

    const std::string& path() const { return folder_.path(); }
    std::string templatePath(Role role) const;
    std::string sourcePath() const { return path() + "/AfficheurCarac.c"; }
    std::string sequencePath() const { return path() + "/MessageTemporaire.car"; }

    // Copies a file of the test data folder in as the template of `role`.
    void installTemplate(Role role, const std::string& dataName) const;
    // Writes "Nombre" and the records Caractère1.. through the INI writer.
    void writeSequence(const std::string& nombre, const std::vector<std::string>& records) const;

  private:
    TempFolder folder_;
};

// The bytes of a file of the test data folder.
std::string testData(const std::string& name);
