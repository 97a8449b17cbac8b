#include "common/SystemError.h"

#include <cerrno>

std::string frenchReason(int number) {
    switch (number) {
        case ENOENT:
            return "le fichier ou le dossier n'existe pas";
        case ENOTDIR:
            return "un élément du chemin n'est pas un dossier";
        case EACCES:
        case EPERM:
            return "l'accès est refusé";
        case EROFS:
            return "le disque est en lecture seule";
        case ENOSPC:
        case EFBIG:
            return "le disque est plein";
        case EDQUOT:
            return "le quota de l'utilisateur est atteint";
        case EISDIR:
            return "c'est un dossier et non un fichier";
        case EINVAL:
            return "ce n'est pas un fichier ordinaire";
        case ENAMETOOLONG:
            return "le nom est trop long";
        case EBUSY:
        case ETXTBSY:
            return "le fichier est occupé";
        case EIO:
            return "erreur de lecture ou d'écriture sur le disque";
        case EMFILE:
        case ENFILE:
            return "trop de fichiers ouverts";
        case ENOEXEC:
            return "ce n'est pas un programme";
        case EILSEQ:
            return "le nom contient des caractères que le système ne sait pas écrire";
        default:
            return "erreur système " + std::to_string(number);
    }
}

std::string frenchDescription(const SystemError& error) {
    return "« " + error.path + " » : " + frenchReason(error.number);
}
