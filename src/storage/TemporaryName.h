#pragma once

#include <string>
#include <string_view>

// Names of the temporary files through which a file is replaced: ".<name>.<8 random letters or
// digits>.tmp" in the target's folder, the name cut so the whole stays within the 255-byte limit
// of a file name.

// A fresh temporary name for the file named `name`.
std::string temporaryNameFor(std::string_view name);

// Whether the folder entry `entry` is a temporary file of the file named `name`.
bool isTemporaryNameOf(std::string_view entry, std::string_view name);

// Whether the folder entry `entry` is a temporary file of a file whose name ends with `nameEnd`,
// ASCII case ignored (".car" takes "a.car" and "B.CAR").
bool isTemporaryNameOfOneEndingWith(std::string_view entry, std::string_view nameEnd);
