// Whole-file reads and atomic writes, the one way every file of the program reaches the disk.
#include "storage/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "ChildRun.h"
#include "TestFiles.h"

namespace {

TEST(FileAccessTest, OnlyARegularFileIsReadAndNothingBlocks) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("tube").c_str(), 0600), 0);
    writeBytes(folder.file("f"), std::string("a\0\xFF", 3));
    const struct {
        std::string path;
        int error;
    } cases[] = {{folder.file("f"), 0},
                 {folder.file("absent"), ENOENT},
                 {folder.path(), EISDIR},
                 {folder.file("tube"), EINVAL},  // a blocking open would hang here
                 {"/dev/zero", EINVAL}};
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(readRegularFile(c.path, bytes), c.error) << c.path;
        EXPECT_EQ(bytes, c.error == 0 ? std::string("a\0\xFF", 3) : "") << c.path;
    }
}

TEST(FileAccessTest, AWriteReplacesTheFileWholeAndKeepsItsPermissions) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, std::string(100000, 'x'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(writeFileAtomically(path, "court"), 0);
    EXPECT_EQ(readBytes(path), "court");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(writeFileAtomically(folder.file(std::string(251, 'n') + ".car"), "x"), 0);
    EXPECT_EQ(folder.listing(), std::string(251, 'n') + ".car s.car");  // no temporary file
}

TEST(FileAccessTest, AFailedWriteLeavesTheFileAsItWasAndNoTemporaryFile) {
    TempFolder folder;
    TempFolder locked;
    const std::string path = folder.file("s.car");
    writeBytes(path, "ancien");
    writeBytes(locked.file("s.car"), "ancien");
    ASSERT_EQ(::mkdir(folder.file("dossier").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(locked.path().c_str(), 0555), 0);
    EXPECT_EQ(writeFileAtomically(folder.file("absent/s.car"), "x"), ENOENT);
    EXPECT_EQ(writeFileAtomically(folder.file("dossier"), "x"), EISDIR);
    EXPECT_EQ(writeFileAtomically(folder.file(std::string(300, 'n')), "x"), ENAMETOOLONG);
    EXPECT_EQ(
        inChild([&] { return std::to_string(writeFileAtomically(locked.file("s.car"), "x")); },
                {.unprivileged = true}),
        std::to_string(EACCES));
    // Room for fewer bytes than the new text: the disk fills up part way.
    EXPECT_EQ(
        inChild([&] { return std::to_string(writeFileAtomically(path, std::string(200, 'z'))); },
                {.maxFileSize = 100}),
        std::to_string(EFBIG));
    EXPECT_EQ(readBytes(path), "ancien");
    EXPECT_EQ(readBytes(locked.file("s.car")), "ancien");
    EXPECT_EQ(folder.listing(), "dossier s.car");
    EXPECT_EQ(locked.listing(), "s.car");
}

}  // namespace
