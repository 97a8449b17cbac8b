#pragma once

#include <string>
#include <string_view>

// A fresh folder under /tmp, open to every user so an unprivileged child can reach it, removed
// with its contents (whatever their permissions) at the end of the test.
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

// Whole content of a file as bytes ("" when it cannot be read).
std::string readBytes(const std::string& path);
// Writes the bytes, replacing the file; throws when it cannot.
void writeBytes(const std::string& path, std::string_view bytes);
bool exists(const std::string& path);
