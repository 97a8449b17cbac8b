#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ChildRun.h"
#include "TestFiles.h"
#include "storage/FileAccess.h"
#include "storage/SequenceFile.h"

namespace {

TEST(FileAccessTest, OnlyARegularFileIsReadAndNothingBlocks) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("tube").c_str(), 0600), 0);
    writeBytes(folder.file("f"), std::string("a\0\xFF", 3));
    const std::pair<std::string, int> cases[] = {{folder.file("f"), 0},
                                                 {folder.file("absent"), ENOENT},
                                                 {folder.path(), EISDIR},
                                                 {folder.file("tube"), EINVAL},
                                                 {"/dev/zero", EINVAL}};
    for (const auto& [path, error] : cases) {
        std::string bytes = "old";
        EXPECT_EQ(readRegularFile(path, bytes), error) << path;
        EXPECT_EQ(bytes, error == 0 ? std::string("a\0\xFF", 3) : "") << path;
    }
}

// The file holds its old bytes or all the new ones, keeps its permissions, and no temporary file
// is left beside it.
TEST(FileAccessTest, AWriteReplacesTheFileWholeOrNotAtAll) {
    TempFolder folder, locked;
    const std::string path = folder.file("s.car");
    writeBytes(path, "ancien");
    writeBytes(locked.file("s.car"), "ancien");
    ASSERT_EQ(::chmod(path.c_str(), 0640) + ::chmod(locked.path().c_str(), 0555), 0);
    const auto write = [](const std::string& file, const std::string& bytes, ChildLimits limits) {
        return inChild([&] { return std::to_string(writeFileAtomically(file, bytes)); }, limits);
    };
    EXPECT_EQ(write(locked.file("s.car"), "x", {.unprivileged = true}), std::to_string(EACCES));
    EXPECT_EQ(write(path, std::string(200, 'z'), {.maxFileSize = 100}), std::to_string(EFBIG));
    EXPECT_EQ(writeFileAtomically(folder.file(std::string(300, 'n')), "x"), ENAMETOOLONG);
    EXPECT_EQ(readBytes(path) + readBytes(locked.file("s.car")), "ancienancien");

    EXPECT_EQ(writeFileAtomically(path, "court"), 0);
    EXPECT_EQ(writeFileAtomically(folder.file(std::string(255, 'n')), "x"), 0);
    EXPECT_EQ(readBytes(path), "court");
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0, 0640u);
    EXPECT_EQ(folder.listing() + "|" + locked.listing(), std::string(255, 'n') + " s.car|s.car");
}

TEST(SequenceFileTest, FailuresNameTheFileAndWhichSideFailed) {
    TempFolder folder;
    const std::string source = folder.file("s.car"), dir = folder.file("dossier");
    writeBytes(source, "x");
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    EXPECT_TRUE(copyFileAtomically(source, source).ok());
    using enum FileOpResult::Failure;
    const struct {
        FileOpResult result;
        FileOpResult::Failure failure;
        std::string path;
        int number;
    } cases[] = {
        {copyFileAtomically(folder.file("a"), source), SourceMissing, folder.file("a"), ENOENT},
        {copyFileAtomically(dir, source), SourceUnreadable, dir, EISDIR},
        {copyFileAtomically(source, dir), DestinationNotWritable, dir, EISDIR},
        {copyFileAtomically(source, folder.file("a/d")), DestinationNotWritable, folder.file("a/d"),
         ENOENT},
        {deleteFileIfPresent(dir), NotDeleted, dir, EISDIR},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::tie(c.result.failure, c.result.error.path, c.result.error.number),
                  std::tie(c.failure, c.path, c.number));
    }
    EXPECT_EQ(readBytes(source), "x");
    EXPECT_TRUE(deleteFileIfPresent(source).ok() && deleteFileIfPresent(source).ok());
    EXPECT_EQ(folder.listing(), "dossier");
}

}  // namespace
