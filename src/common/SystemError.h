#pragma once

#include <string>

// A failure of the system met on a file or a process: the path concerned (as the system names
// it: the file, the folder or the program) and the system's error number. A number of 0 means
// no failure.
struct SystemError {
    std::string path;
    int number = 0;

    bool failed() const { return number != 0; }
};

// The reason of an errno value in French words fit for a pupil or a teacher, without a final
// full stop, e.g. "le disque est plein". Every number the C library defines has its words; a
// number it does not define reads "erreur système N".
std::string frenchReason(int number);

// "« path » : reason", the way every message names a failed file or program. A path that is
// not UTF-8 shows "�" where its bytes are not.
std::string frenchDescription(const SystemError& error);
