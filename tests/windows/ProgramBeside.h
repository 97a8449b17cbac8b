#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "common/WidePath.h"

// A program built beside the running test program (the stand-ins), with "/" between names.
inline std::string programBeside(const std::string& name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = fromWide(self);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.substr(0, path.rfind('/') + 1) + name;
}
