#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "StorageTestSupport.h"
#include "storage/FichIni.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"

namespace {

using Failure = FileOpResult::Failure;

std::string describe(const FileOpResult& r) {
    static const char* const kNames[] = {"None", "SourceMissing", "SourceUnreadable",
                                         "DestinationNotWritable", "NotDeleted"};
    return std::string(kNames[static_cast<int>(r.failure)]) + " " + r.error.path + ": " +
           frenchReason(r.error.number);
}

TEST(SequenceLayout, NamesAndPaths) {
    EXPECT_EQ(recordKey(1), "Caractère1");
    EXPECT_EQ(recordKey(12), "Caractère12");
    EXPECT_EQ(recordKey(100), "Caractère100");
    EXPECT_EQ(workingSequencePath("/opt/Vexlo"), "/opt/Vexlo/MessageTemporaire.car");
    EXPECT_EQ(workingSequencePath("/"), "/MessageTemporaire.car");
    EXPECT_EQ(workFolderPath("/opt/Vexlo"), "/opt/Vexlo/Travail");
}

TEST(SequenceFile, SaveRightAfterLoadGivesAByteIdenticalFile) {
    TempFolder folder;
    const std::string working = workingSequencePath(folder.path());
    const std::string chosen = std::string(VEXLO_TEST_DATA) + "/ini/other-sections.car";
    ASSERT_TRUE(copyFileAtomically(chosen, working).ok());
    EXPECT_EQ(LireIni("Caractères", "Nombre", working), "1");
    EXPECT_EQ(LireIni("Caractères", recordKey(1), working), "1;2;3;4;5;6;7;0.5");
    const std::string saved = folder.file("copie.car");
    ASSERT_TRUE(copyFileAtomically(working, saved).ok());
    EXPECT_EQ(readBytes(saved), golden("other-sections.car"));
    EXPECT_EQ(readBytes(chosen), golden("other-sections.car"));
    EXPECT_EQ(folder.listing(), "MessageTemporaire.car copie.car");
}

TEST(SequenceFile, CopyReplacesAnExistingFileAndKeepsItsPermissions) {
    TempFolder folder;
    const std::string destination = folder.file("d.car");
    writeBytes(destination, std::string(100000, 'x'));
    ASSERT_EQ(::chmod(destination.c_str(), 0604), 0);
    writeBytes(folder.file("s.car"), golden("two-characters.car"));
    ASSERT_TRUE(copyFileAtomically(folder.file("s.car"), destination).ok());
    EXPECT_EQ(readBytes(destination), golden("two-characters.car"));
    struct stat st {};
    ASSERT_EQ(::stat(destination.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
}

TEST(SequenceFile, CopyOfALargeFileIsComplete) {
    TempFolder folder;
    std::string big;
    for (int i = 0; i < 300000; ++i) {
        big += static_cast<char>(i * 7);
    }
    writeBytes(folder.file("s.car"), big);
    ASSERT_TRUE(copyFileAtomically(folder.file("s.car"), folder.file("d.car")).ok());
    EXPECT_EQ(readBytes(folder.file("d.car")), big);
}

TEST(SequenceFile, ALongestPossibleNameCanBeWritten) {
    TempFolder folder;
    const std::string destination = folder.file(std::string(251, 'n') + ".car");
    writeBytes(folder.file("s.car"), golden("two-characters.car"));
    ASSERT_TRUE(copyFileAtomically(folder.file("s.car"), destination).ok());
    EXPECT_EQ(readBytes(destination), golden("two-characters.car"));
    const std::string tooLong = folder.file(std::string(300, 'n'));
    EXPECT_EQ(copyFileAtomically(folder.file("s.car"), tooLong).error.number, ENAMETOOLONG);
}

TEST(SequenceFile, CopyOntoItselfLeavesTheFileAsItIs) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    EXPECT_TRUE(copyFileAtomically(path, path).ok());
    EXPECT_EQ(readBytes(path), golden("two-characters.car"));
    EXPECT_EQ(folder.listing(), "s.car");
}

TEST(SequenceFile, CopyFailuresNameTheFileAndTheReason) {
    TempFolder folder;
    const std::string source = folder.file("s.car");
    const std::string destination = folder.file("d.car");
    writeBytes(source, golden("two-characters.car"));
    writeBytes(destination, "ancien");
    ASSERT_EQ(::mkfifo(folder.file("tube").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.file("dossier").c_str(), 0755), 0);

    EXPECT_EQ(
        describe(copyFileAtomically(folder.file("absent.car"), destination)),
        "SourceMissing " + folder.file("absent.car") + ": le fichier ou le dossier n'existe pas");
    EXPECT_EQ(
        describe(copyFileAtomically(folder.file("dossier"), destination)),
        "SourceUnreadable " + folder.file("dossier") + ": c'est un dossier et non un fichier");
    EXPECT_EQ(describe(copyFileAtomically(folder.file("tube"), destination)),
              "SourceUnreadable " + folder.file("tube") + ": ce n'est pas un fichier ordinaire");
    EXPECT_EQ(describe(copyFileAtomically(source, folder.file("absent/d.car"))),
              "DestinationNotWritable " + folder.file("absent/d.car") +
                  ": le fichier ou le dossier n'existe pas");
    EXPECT_EQ(describe(copyFileAtomically(source, folder.file("dossier"))),
              "DestinationNotWritable " + folder.file("dossier") +
                  ": c'est un dossier et non un fichier");
    EXPECT_EQ(readBytes(destination), "ancien");
    EXPECT_EQ(folder.listing(), "d.car dossier s.car tube");
}

TEST(SequenceFile, UnreadableSourceAndReadOnlyDestinationFolder) {
    TempFolder folder;
    TempFolder locked;
    const std::string source = folder.file("s.car");
    const std::string secret = folder.file("secret.car");
    const std::string destination = locked.file("d.car");
    writeBytes(source, golden("two-characters.car"));
    writeBytes(secret, "x");
    writeBytes(destination, "ancien");
    ASSERT_EQ(::chmod(secret.c_str(), 0000), 0);
    ASSERT_EQ(::chmod(locked.path().c_str(), 0555), 0);
    const std::string result = inChild(
        [&] {
            return describe(copyFileAtomically(secret, folder.file("d.car"))) + "|" +
                   describe(copyFileAtomically(source, destination));
        },
        {.unprivileged = true});
    EXPECT_EQ(result, "SourceUnreadable " + secret +
                          ": l'accès est refusé|DestinationNotWritable " + destination +
                          ": l'accès est refusé");
    EXPECT_EQ(readBytes(destination), "ancien");
    EXPECT_EQ(locked.listing(), "d.car");
}

TEST(SequenceFile, FullDiskLeavesTheDestinationAsItWas) {
    TempFolder folder;
    const std::string destination = folder.file("d.car");
    writeBytes(folder.file("s.car"), std::string(200000, 'z'));
    writeBytes(destination, "ancien");
    const std::string result =
        inChild([&] { return describe(copyFileAtomically(folder.file("s.car"), destination)); },
                {.maxFileSize = 100000});
    EXPECT_EQ(result, "DestinationNotWritable " + destination + ": le disque est plein");
    EXPECT_EQ(readBytes(destination), "ancien");
    EXPECT_EQ(folder.listing(), "d.car s.car");
}

TEST(SequenceFile, DeleteRemovesTheFileAndAMissingFileIsNoError) {
    TempFolder folder;
    const std::string working = workingSequencePath(folder.path());
    writeBytes(working, golden("two-characters.car"));
    EXPECT_TRUE(deleteFileIfPresent(working).ok());
    EXPECT_FALSE(exists(working));
    EXPECT_EQ(LireIni("Caractères", "Nombre", working), "");
    EXPECT_TRUE(deleteFileIfPresent(working).ok());
    EXPECT_TRUE(deleteFileIfPresent(folder.file("absent/x.car")).ok());
}

TEST(SequenceFile, DeleteFailureIsReported) {
    TempFolder folder;
    ASSERT_EQ(::mkdir(folder.file("dossier").c_str(), 0755), 0);
    const FileOpResult r = deleteFileIfPresent(folder.file("dossier"));
    EXPECT_EQ(r.failure, Failure::NotDeleted);
    EXPECT_EQ(r.error.number, EISDIR);
    EXPECT_TRUE(exists(folder.file("dossier")));
}

}  // namespace
