#pragma once

#include <string>
#include <string_view>
#include <vector>

// A fresh folder in the system's temporary folder (/tmp), open to every user so an unprivileged
// child can reach it, removed with its contents (whatever their permissions) at the end of the
// test.
class TempFolder {
  public:
    explicit TempFolder(std::string_view prefix = "vexlo-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Names of the entries in the folder, sorted, separated by blanks.
    std::string listing() const;

  private:
    std::string path_;
};

// A copy of the program folder as the build lays it out (pictures, the module Makefile, the
// templates in "modèle/", an empty "Travail/"), in a fresh folder whose name holds a space and
// an accent, without any file a run of the program made.
class ProgramFolder : public TempFolder {
  public:
    ProgramFolder();
    // The working sequence file as validations leave it: "Nombre" = `count`, then the records
    // "Caractère1", "Caractère2"...
    void writeSequence(std::string_view count, const std::vector<std::string>& records) const;
};

// Whole content of a file as bytes ("" when it cannot be read).
std::string readBytes(const std::string& path);
// Writes the bytes, replacing the file; throws when it cannot.
void writeBytes(const std::string& path, std::string_view bytes);
bool exists(const std::string& path);
// A file of tests/data, e.g. testData("ini/utf8-bom.car").
std::string testData(std::string_view name);
