#pragma once

#include <string>

#include "common/SystemError.h"

// Where the module Makefile looks for a running virtual module: $VEXLO_MODULE_PORT_FILE when
// set, else vexlo-module-<user id>.port in $XDG_RUNTIME_DIR, or in /tmp without it.
std::string portFilePath();

// The file that tells avrdude's port for this virtual module ("net:127.0.0.1:PORT"), written
// whole at once and removed when the object ends, unless another module took it over since.
class PortFile {
  public:
    PortFile() = default;
    ~PortFile();
    PortFile(const PortFile&) = delete;
    PortFile& operator=(const PortFile&) = delete;

    SystemError write(const std::string& path, const std::string& port);

  private:
    std::string path_;
    std::string text_;
};
