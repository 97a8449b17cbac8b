#pragma once

#include <string>

// Where the module Makefile looks for a running virtual module: $VEXLO_MODULE_PORT_FILE when
// set, else vexlo-module-<user id>.port in $XDG_RUNTIME_DIR, else vexlo-module.port in
// ~/.cache/vexlo. Never a folder others can write to: the Makefile ignores a file there.
std::string portFilePath();

// The file that tells avrdude's port for this virtual module ("net:127.0.0.1:PORT"), written
// whole at once and removed when the object ends, unless another module took it over since.
class PortFile {
  public:
    PortFile() = default;
    ~PortFile();
    PortFile(const PortFile&) = delete;
    PortFile& operator=(const PortFile&) = delete;

    // Writes the file through a new temporary file of its folder, renamed over it. The folder is
    // made (mode 0700) when missing, and must belong to this user and be closed to others'
    // writing. Returns an empty text, or what failed in French words.
    std::string write(const std::string& path, const std::string& port);

  private:
    std::string path_;
    std::string text_;
};
