#include "storage/SequenceFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "TestFiles.h"
#include "storage/SequenceLayout.h"

namespace {

using Failure = FileOpResult::Failure;

TEST(SequenceFileTest, SaveRightAfterLoadGivesAByteIdenticalFile) {
    TempFolder folder;
    const std::string working = workingSequencePath(folder.path());
    const std::string chosen = folder.file("choisi.car");
    writeBytes(chosen, testData("ini/other-sections.car"));
    ASSERT_TRUE(copyFileAtomically(chosen, working).ok());
    ASSERT_TRUE(copyFileAtomically(working, folder.file("copie.car")).ok());
    EXPECT_EQ(readBytes(folder.file("copie.car")), testData("ini/other-sections.car"));
    EXPECT_TRUE(copyFileAtomically(working, working).ok());
    EXPECT_EQ(readBytes(working), testData("ini/other-sections.car"));
    EXPECT_TRUE(deleteFileIfPresent(working).ok());
    EXPECT_TRUE(deleteFileIfPresent(working).ok());  // already gone: no error
    EXPECT_EQ(folder.listing(), "choisi.car copie.car");
}

TEST(SequenceFileTest, FailuresNameTheFileAndWhichSideFailed) {
    TempFolder folder;
    const std::string source = folder.file("s.car");
    const std::string folderPath = folder.file("dossier");
    writeBytes(source, "x");
    ASSERT_EQ(::mkdir(folderPath.c_str(), 0755), 0);
    const struct {
        FileOpResult result;
        Failure failure;
        std::string path;
        int number;
    } cases[] = {
        {copyFileAtomically(folder.file("absent"), source), Failure::SourceMissing,
         folder.file("absent"), ENOENT},
        {copyFileAtomically(folderPath, source), Failure::SourceUnreadable, folderPath, EISDIR},
        {copyFileAtomically(source, folder.file("absent/d.car")), Failure::DestinationNotWritable,
         folder.file("absent/d.car"), ENOENT},
        {deleteFileIfPresent(folderPath), Failure::NotDeleted, folderPath, EISDIR},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result.failure, c.failure) << c.path;
        EXPECT_EQ(c.result.error.path, c.path);
        EXPECT_EQ(c.result.error.number, c.number) << c.path;
    }
    EXPECT_EQ(readBytes(source), "x");
}

}  // namespace
