#pragma once

#include <string>

// Whole-file operations on sequence files: Load and Save copy, start-up and New delete.

// Outcome of a file operation. On failure `path` names the file at fault (UTF-8) and `reason`
// is a short French text fit to follow the path in a message, e.g. « Impossible de lire
// "<path>" : le fichier n'existe pas. ». Reasons: "le fichier n'existe pas", "le dossier
// n'existe pas", "accès refusé", "disque plein", "c'est un dossier", "ce n'est pas un fichier
// ordinaire", "nom de fichier trop long", "erreur de lecture ou d'écriture", or "erreur système
// <n>" for the rest.
struct FileOpResult {
    enum class Failure {
        None,
        SourceMissing,           // the file to copy does not exist
        SourceUnreadable,        // it exists but cannot be read (permission, folder, device...)
        DestinationNotWritable,  // folder missing, permission denied, disk full...
        NotDeleted,              // the file exists and could not be removed
    };
    Failure failure = Failure::None;
    std::string path;
    std::string reason;
    int errorNumber = 0;  // the errno behind the failure

    bool ok() const { return failure == Failure::None; }
};

// Copies the regular file `source` over `destination`, creating or replacing it atomically:
// the destination holds either its old bytes or a complete copy, never part of one, and the
// source is never changed. Copying a file onto itself leaves it as it is.
FileOpResult copyFileAtomically(const std::string& source, const std::string& destination);

// Removes the file at `path`; a file that does not exist is not an error.
FileOpResult deleteFileIfPresent(const std::string& path);
