#pragma once

#include <functional>
#include <string>
#include <string_view>

// A fresh folder under /tmp, open to every user so an unprivileged child can reach it, removed
// with its contents at the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Names of the entries in the folder, sorted.
    std::string listing() const;

  private:
    std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);
bool exists(const std::string& path);
std::string golden(std::string_view name);  // a file of tests/data/ini

struct ChildLimits {
    bool unprivileged = false;  // run as "nobody" when the tests run as root
    long maxFileSize = -1;      // RLIMIT_FSIZE in bytes, or -1 for none: a disk that fills up
};

// Runs `body` in a forked child under `limits` and returns the text it produced.
std::string inChild(const std::function<std::string()>& body, ChildLimits limits);
