#include "common/SystemError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

// Walks every number the C library names: each has French words of its own, and so has the
// program's own number, in words of its own: a pipe met instead of a file is not a refused value.
TEST(SystemErrorTest, EveryErrnoHasFrenchWords) {
    int named = 0;
    for (int number = 1; number < 256; ++number) {
        const std::string english = std::strerror(number);
        if (english.starts_with("Unknown error")) {
            continue;
        }
        ++named;
        EXPECT_FALSE(frenchReason(number).starts_with("erreur système"))
            << number << " " << english;
    }
    EXPECT_EQ(frenchReason(ELOOP), "le chemin tourne en rond (trop de liens symboliques)");
    EXPECT_EQ(frenchReason(EINVAL), "une valeur donnée est refusée");
    EXPECT_EQ(frenchReason(kNotRegularFile), "ce n'est pas un fichier ordinaire");
#ifdef __linux__  // Windows's C library names about 40 numbers, 41 among them
    EXPECT_GT(named, 100);
    EXPECT_EQ(frenchReason(41), "erreur système 41");
#endif
}

TEST(SystemErrorTest, APathThatIsNotUtf8IsShownReadable) {
    EXPECT_EQ(frenchDescription({"/x/a.car", ENOENT}),
              "« /x/a.car » : le fichier ou le dossier n'existe pas");
    EXPECT_EQ(frenchDescription({"/x/\xE9t\xE9.car", EACCES}),
              "« /x/\xEF\xBF\xBDt\xEF\xBF\xBD.car » : l'accès est refusé");
}
