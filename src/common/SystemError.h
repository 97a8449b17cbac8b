#pragma once

#include <string>

// A failure of the system met on a file or a process: the path concerned (as the system names
// it: the file, the folder or the program) and the system's error number, or one of the
// program's own number below. A number of 0 means no failure.
struct SystemError {
    std::string path;
    int number = 0;

    bool failed() const { return number != 0; }
};

// The program's own number for what exists at a path but is neither a regular file nor a folder
// (a pipe, a device): it is neither read nor replaced. Above every errno value and below the
// numbers of Windows-only codes (WindowsError.h), the same on both platforms.
inline constexpr int kNotRegularFile = 0x8000;

// The reason of an error number in French words fit for a pupil or a teacher, without a final
// full stop, e.g. "le disque est plein". Every number the C library defines, and the program's
// own, has its words; any other number reads "erreur système N".
std::string frenchReason(int number);

// "« path » : reason", the way every message names a failed file or program. A path that is
// not UTF-8 shows "�" where its bytes are not.
std::string frenchDescription(const SystemError& error);
