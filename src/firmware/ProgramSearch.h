#pragma once

#include <string>

// The platform's side of looking for programs on PATH.

// Separates the folders of PATH: ";" on Windows, ":" elsewhere.
extern const char kSearchPathSeparator;

// This program's PATH (UTF-8), empty when unset.
std::string searchPath();
// Replaces it, for this program and the children it starts afterwards.
void setSearchPath(const std::string& value);

// The file name of the program `name`: "name.exe" on Windows, `name` elsewhere.
std::string programFileName(const std::string& name);

// Whether `folder` holds the program `name` as a file that can be run.
bool holdsProgram(const std::string& folder, const std::string& name);
