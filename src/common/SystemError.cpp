#include "common/SystemError.h"

#include <cerrno>

#include "common/Utf8.h"

namespace {

struct Reason {
    int number;
    const char* words;
};

// Every error number of the C library and the program's own, in words a pupil or a teacher
// understands. Numbers that two names share on one system (EAGAIN and EWOULDBLOCK on Linux) are
// listed under each name: the first entry of a number is the one read.
constexpr Reason kReasons[] = {
    {ENOENT, "le fichier ou le dossier n'existe pas"},
    {ENOTDIR, "un élément du chemin n'est pas un dossier"},
    {EACCES, "l'accès est refusé"},
    {EPERM, "l'accès est refusé"},
    {EROFS, "le disque est en lecture seule"},
    {ENOSPC, "le disque est plein"},
    {EFBIG, "le disque est plein"},
    {EISDIR, "c'est un dossier et non un fichier"},
    {EINVAL, "une valeur donnée est refusée"},
    {kNotRegularFile, "ce n'est pas un fichier ordinaire"},
    {ENAMETOOLONG, "le nom est trop long"},
    {EBUSY, "le fichier est occupé"},
    {ETXTBSY, "le fichier est occupé"},
    {EIO, "erreur de lecture ou d'écriture sur le disque"},
    {EMFILE, "trop de fichiers ouverts"},
    {ENFILE, "trop de fichiers ouverts"},
    {ENOEXEC, "ce n'est pas un programme"},
    {EILSEQ, "le nom contient des caractères que le système ne sait pas écrire"},
    {ELOOP, "le chemin tourne en rond (trop de liens symboliques)"},
    {EEXIST, "le fichier existe déjà"},
    {ENOTEMPTY, "le dossier n'est pas vide"},
    {EXDEV, "le fichier ne peut pas passer d'un disque à un autre"},
    {EMLINK, "trop de liens vers ce fichier"},
    {ENXIO, "l'appareil n'est pas branché"},
    {ENODEV, "l'appareil n'existe pas"},
    {ENOTTY, "ce n'est pas un terminal ni un port série"},
    {ESPIPE, "ce fichier ne se lit que d'un bout à l'autre"},
    {EPIPE, "le programme à l'autre bout s'est arrêté"},
    {EBADF, "le fichier n'est plus ouvert"},
    {ENOMEM, "la mémoire manque"},
    {E2BIG, "la commande est trop longue"},
    {EAGAIN, "la ressource est momentanément indisponible, réessaie"},
    {EWOULDBLOCK, "la ressource est momentanément indisponible, réessaie"},
    {EINTR, "l'opération a été interrompue"},
    {ESRCH, "le programme n'existe plus"},
    {ECHILD, "le programme lancé n'existe plus"},
    {EFAULT, "erreur interne du programme (adresse invalide)"},
    {EDOM, "un nombre est hors de son domaine"},
    {ERANGE, "un nombre est trop grand"},
    {EOVERFLOW, "une valeur est trop grande (fichier trop gros ?)"},
    {EDEADLK, "le fichier est verrouillé par un autre programme"},
    {ENOLCK, "le verrou du fichier n'a pas pu être pris"},
    {ENOSYS, "le système ne sait pas faire cette opération"},
    {ENOTSUP, "le système ne sait pas faire cette opération"},
    {EOPNOTSUPP, "le système ne sait pas faire cette opération"},
    {ECANCELED, "l'opération a été annulée"},
    {ETIMEDOUT, "l'appareil ne répond pas (délai dépassé)"},
    {ETIME, "l'appareil ne répond pas (délai dépassé)"},
    {EALREADY, "l'opération est déjà en cours"},
    {EINPROGRESS, "l'opération est déjà en cours"},
    {EOWNERDEAD, "le programme qui tenait le verrou s'est arrêté"},
    {ENOTRECOVERABLE, "le verrou est inutilisable"},
    {EIDRM, "la ressource a été supprimée"},
    {ENOMSG, "le message attendu n'est pas arrivé"},
    {ENODATA, "aucune donnée n'est disponible"},
    {ENOSTR, "ce n'est pas un canal de communication"},
    {ENOSR, "le système manque de ressources de communication"},
    {ENOLINK, "la liaison est coupée"},
    {EPROTO, "erreur de communication"},
    {EBADMSG, "le message reçu est illisible"},
    {EMSGSIZE, "le message est trop long"},
    {ENOBUFS, "le système manque de mémoire pour communiquer"},
    {ENOTSOCK, "ce n'est pas une connexion réseau"},
    {EDESTADDRREQ, "la connexion n'a pas de destinataire"},
    {EPROTOTYPE, "la connexion n'est pas du bon type"},
    {ENOPROTOOPT, "le réseau ne connaît pas cette option"},
    {EPROTONOSUPPORT, "le réseau ne connaît pas ce protocole"},
    {EAFNOSUPPORT, "le réseau ne connaît pas ce type d'adresse"},
    {EADDRINUSE, "l'adresse réseau est déjà utilisée"},
    {EADDRNOTAVAIL, "l'adresse réseau n'est pas disponible"},
    {ENETDOWN, "le réseau est coupé"},
    {ENETUNREACH, "le réseau est injoignable"},
    {ENETRESET, "le réseau a coupé la connexion"},
    {ECONNABORTED, "la connexion a été interrompue"},
    {ECONNRESET, "la connexion a été coupée par l'autre bout"},
    {EISCONN, "la connexion est déjà établie"},
    {ENOTCONN, "la connexion n'est pas établie"},
    {ECONNREFUSED, "la connexion est refusée (rien n'écoute à l'autre bout)"},
    {EHOSTUNREACH, "l'ordinateur à joindre est injoignable"},
#ifdef __linux__
    {EDQUOT, "le quota de l'utilisateur est atteint"},
    {ESTALE, "le fichier partagé n'est plus valable (dossier réseau)"},
    {EREMOTEIO, "erreur de lecture ou d'écriture sur un appareil distant"},
    {EUCLEAN, "le disque doit être réparé"},
    {ENOMEDIUM, "aucun disque n'est inséré"},
    {EMEDIUMTYPE, "le disque inséré n'est pas du bon type"},
    {ENOTBLK, "ce n'est pas un disque"},
    {EHWPOISON, "la mémoire de l'ordinateur est défectueuse"},
    {EBADFD, "le fichier ouvert est dans un état incorrect"},
    {ESTRPIPE, "erreur de canal de communication"},
    {ERESTART, "l'opération a été interrompue"},
    {EUSERS, "trop d'utilisateurs"},
    {ELIBACC, "une bibliothèque nécessaire est inaccessible"},
    {ELIBBAD, "une bibliothèque nécessaire est abîmée"},
    {ELIBSCN, "une bibliothèque nécessaire est abîmée"},
    {ELIBMAX, "trop de bibliothèques à charger"},
    {ELIBEXEC, "une bibliothèque ne se lance pas comme un programme"},
    {ENOPKG, "un paquet nécessaire n'est pas installé"},
    {ENONET, "l'ordinateur n'est pas sur le réseau"},
    {EREMOTE, "le fichier est sur un autre ordinateur"},
    {ENOTUNIQ, "le nom n'est pas unique sur le réseau"},
    {EREMCHG, "l'adresse à l'autre bout a changé"},
    {ECOMM, "erreur de communication à l'envoi"},
    {EMULTIHOP, "erreur de communication (trop d'étapes)"},
    {EDOTDOT, "erreur de communication"},
    {EADV, "erreur de communication"},
    {ESRMNT, "erreur de communication"},
    {ESOCKTNOSUPPORT, "le réseau ne connaît pas ce type de connexion"},
    {EPFNOSUPPORT, "le réseau ne connaît pas ce protocole"},
    {ESHUTDOWN, "la connexion est fermée"},
    {ETOOMANYREFS, "trop de références"},
    {EHOSTDOWN, "l'ordinateur à joindre est éteint"},
    {ECHRNG, "erreur de canal de communication"},
    {EL2NSYNC, "erreur de canal de communication"},
    {EL3HLT, "erreur de canal de communication"},
    {EL3RST, "erreur de canal de communication"},
    {ELNRNG, "erreur de canal de communication"},
    {EUNATCH, "le pilote de l'appareil n'est pas chargé"},
    {ENOCSI, "erreur de canal de communication"},
    {EL2HLT, "erreur de canal de communication"},
    {EBADE, "échange invalide avec l'appareil"},
    {EBADR, "demande invalide à l'appareil"},
    {EXFULL, "l'échange avec l'appareil est saturé"},
    {ENOANO, "erreur interne du système de fichiers"},
    {EBADRQC, "demande invalide à l'appareil"},
    {EBADSLT, "demande invalide à l'appareil"},
    {EBFONT, "fichier de police illisible"},
    {ENOTNAM, "ce fichier n'est pas du type attendu"},
    {ENAVAIL, "la ressource n'est pas disponible"},
    {EISNAM, "ce fichier n'est pas du type attendu"},
    {ENOKEY, "la clé nécessaire manque"},
    {EKEYEXPIRED, "la clé a expiré"},
    {EKEYREVOKED, "la clé a été révoquée"},
    {EKEYREJECTED, "la clé a été refusée"},
    {ERFKILL, "la radio de l'appareil est coupée"},
#endif
};

}  // namespace

std::string frenchReason(int number) {
    for (const Reason& reason : kReasons) {
        if (reason.number == number) {
            return reason.words;
        }
    }
    return "erreur système " + std::to_string(number);
}

std::string frenchDescription(const SystemError& error) {
    return "« " + readableText(error.path) + " » : " + frenchReason(error.number);
}
