#include <gtest/gtest.h>
#include <windows.h>

#include "common/SystemError.h"
#include "common/WindowsError.h"

// What the system says on Windows reaches the pupil in the same French words as on Linux.
TEST(WindowsErrorTest, SystemCodesGetTheFrenchWordsOfTheirKind) {
    const struct {
        unsigned long code;
        const char* reason;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "le fichier ou le dossier n'existe pas"},
        {ERROR_PATH_NOT_FOUND, "le fichier ou le dossier n'existe pas"},
        {ERROR_ACCESS_DENIED, "l'accès est refusé"},
        {ERROR_WRITE_PROTECT, "le disque est en lecture seule"},
        {ERROR_DISK_FULL, "le disque est plein"},
        {1295, "le disque est plein"},  // ERROR_DISK_QUOTA_EXCEEDED
        {ERROR_SHARING_VIOLATION, "le fichier est occupé"},
        {ERROR_FILENAME_EXCED_RANGE, "le nom est trop long"},
        {ERROR_CRC, "erreur de lecture ou d'écriture sur le disque"},
        {ERROR_BAD_EXE_FORMAT, "ce n'est pas un programme"},
        {ERROR_INVALID_NAME, "le nom contient des caractères que le système ne sait pas écrire"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frenchReason(errnoOfWindowsError(c.code)), c.reason) << c.code;
    }
    EXPECT_EQ(errnoOfWindowsError(ERROR_SUCCESS), 0);
    EXPECT_EQ(errnoOfWindowsError(ERROR_NOT_SUPPORTED), kWindowsOnlyError + ERROR_NOT_SUPPORTED);
}
