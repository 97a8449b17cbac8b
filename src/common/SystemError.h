#pragma once

#include <string>

// A failure of the system met on a file or a process: the path concerned (UTF-8: the file, the
// folder or the program) and the system's error number. A number of 0 means no failure.
struct SystemError {
    std::string path;
    int number = 0;

    bool failed() const { return number != 0; }
};

// The reason of an error number in French words fit for a pupil or a teacher, without a final
// full stop, e.g. "le disque est plein". Numbers a classroom meets (missing file or folder,
// permission refused, read-only file system, disk full or quota, a folder where a file was
// expected, name too long, busy, input/output error...) have their own words; any other reads
// "erreur système N".
std::string frenchReason(int number);

// "« path » : reason", the way every message names a failed file or program.
std::string frenchDescription(const SystemError& error);
