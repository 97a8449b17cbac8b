#include "common/SystemError.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(SystemErrorTest, ReasonsAreFrenchWords) {
    const struct {
        int number;
        const char* reason;
    } cases[] = {{ENOENT, "le fichier ou le dossier n'existe pas"},
                 {EACCES, "l'accès est refusé"},
                 {EROFS, "le disque est en lecture seule"},
                 {ENOSPC, "le disque est plein"},
                 {EFBIG, "le disque est plein"},
                 {EDQUOT, "le quota de l'utilisateur est atteint"},
                 {EISDIR, "c'est un dossier et non un fichier"},
                 {ENAMETOOLONG, "le nom est trop long"},
                 {EBUSY, "le fichier est occupé"},
                 {EIO, "erreur de lecture ou d'écriture sur le disque"},
                 {EXDEV, "erreur système 18"}};
    for (const auto& c : cases) {
        EXPECT_EQ(frenchReason(c.number), c.reason) << c.number;
    }
    EXPECT_EQ(frenchDescription({"/x/a.car", ENOENT}),
              "« /x/a.car » : le fichier ou le dossier n'existe pas");
}
