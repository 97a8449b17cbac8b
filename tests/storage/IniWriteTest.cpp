#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "StorageTestSupport.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

const std::string kSection(kSequenceSection);
const std::string kCount(kCountKey);

// What the validations of two characters write, in the order they write it.
void validateTwoCharacters(const std::string& path) {
    EXPECT_NE(EcrireIni(kSection, kCount, "2", path), 0);
    EXPECT_NE(EcrireIni(kSection, recordKey(2), "31;0;0;0;0;0;31;1.5", path), 0);
}

TEST(IniWrite, TwoValidationsFromAFreshStartGiveTheExampleFile) {
    TempFolder folder;
    const std::string path = folder.file("MessageTemporaire.car");
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=1\r\n");
    EXPECT_EQ(EcrireIni(kSection, recordKey(1), "0;0;0;0;0;0;0;0.5", path), 1);
    validateTwoCharacters(path);
    EXPECT_EQ(readBytes(path), golden("two-characters.car"));
    EXPECT_EQ(folder.listing(), "MessageTemporaire.car") << "no temporary file left behind";
}

TEST(IniWrite, AnExistingKeyIsReplacedWhereItStands) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    EXPECT_EQ(EcrireIni(kSection, recordKey(1), "1;2;3;4;5;6;7;2", path), 1);
    EXPECT_EQ(EcrireIni(kSection, "NOMBRE", "3", path), 1);  // names match without case
    EXPECT_EQ(readBytes(path),
              "[Caract\xE8res]\r\nNOMBRE=3\r\nCaract\xE8re1=1;2;3;4;5;6;7;2\r\n"
              "Caract\xE8re2=31;0;0;0;0;0;31;1.5\r\n");
}

TEST(IniWrite, ReplacingKeepsThatLinesOwnEndAndTheFirstOfDuplicates) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, "[Caract\xE8res]\r\n  Nombre = 1 \nNombre=9\r\nx=1");
    EXPECT_EQ(EcrireIni(kSection, kCount, "2", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=2\nNombre=9\r\nx=1");
    EXPECT_EQ(EcrireIni(kSection, "x", "5", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=2\nNombre=9\r\nx=5");
}

TEST(IniWrite, WhatIsWrittenReadsBack) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    const std::string record = "31;17;17;31;17;17;17;0.25";
    EXPECT_EQ(EcrireIni(kSection, recordKey(12), record, path), 1);
    EXPECT_EQ(LireIni(kSection, "Caractère12", path), record);
    EXPECT_NE(readBytes(path).find("Caract\xE8re12=" + record + "\r\n"), std::string::npos);
    EXPECT_EQ(EcrireIni(kSection, "k", "été", path), 1);
    EXPECT_EQ(LireIni(kSection, "k", path), "été");
    EXPECT_EQ(EcrireIni(kSection, "k", "日", path), 1);  // no Windows-1252 byte for it
    EXPECT_EQ(LireIni(kSection, "k", path), "?");
}

struct GoldenWrite {
    const char* input;
    const char* expected;
};

class IniWriteGoldenTest : public ::testing::TestWithParam<GoldenWrite> {};

// The second validation into files made elsewhere: line ends, encoding, other sections and
// comments stay as they were, the new key lands after the last key of its section.
TEST_P(IniWriteGoldenTest, SecondValidationKeepsTheRestOfTheFile) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden(GetParam().input));
    validateTwoCharacters(path);
    EXPECT_EQ(readBytes(path), golden(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Files, IniWriteGoldenTest,
                         ::testing::Values(GoldenWrite{"lf-endings.car", "lf-endings.expected.car"},
                                           GoldenWrite{"utf8-bom.car", "utf8-bom.expected.car"},
                                           GoldenWrite{"other-sections.car",
                                                       "other-sections.expected.car"}));

TEST(IniWrite, NewKeysAndSectionsOnFilesWithoutAFinalLineEnd) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, "[Caract\xE8res]\nNombre=1");
    EXPECT_EQ(EcrireIni(kSection, recordKey(1), "x", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\nNombre=1\nCaract\xE8re1=x\n");

    writeBytes(path, "[Autre]\rk=v");
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", path), 1);
    EXPECT_EQ(readBytes(path), "[Autre]\rk=v\r[Caract\xE8res]\rNombre=1\r");

    writeBytes(path, "[Caract\xE8res]");
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=1\r\n");
}

TEST(IniWrite, AUtf8FileWithoutByteOrderMarkStaysUtf8) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, "[Caractères]\nNombre=1\n");
    EXPECT_EQ(EcrireIni(kSection, recordKey(1), "é", path), 1);
    EXPECT_EQ(readBytes(path), "[Caractères]\nNombre=1\nCaractère1=é\n");
}

TEST(IniWrite, AnEmptyFileIsWrittenLikeANewOne) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, "");
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=1\r\n");
}

TEST(IniWrite, BlanksAroundNamesAreDropped) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    EXPECT_EQ(EcrireIni(" Caractères\t", " Nombre ", "1", path), 1);
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=1\r\n");
}

struct RefusedWrite {
    const char* what;
    std::string section;
    std::string key;
    std::string value;
};

const RefusedWrite kRefused[] = {
    {"CR LF in a value adding a section", kSection, kCount, "1\r\n[Autre]\r\nx=1"},
    {"LF in a value adding a key", kSection, kCount, "1\nCaract\xC3\xA8re9=1"},
    {"CR alone in a value", kSection, kCount, "1\rNombre=9"},
    {"line break in a key", kSection, "Nombre=5\r\nx", "1"},
    {"line break in a section", "Caractères]\r\n[Autre", kCount, "1"},
    {"NUL in a value", kSection, kCount,
     std::string("1\0"
                 "2",
                 3)},
    {"] in a section name", "Carac]t", kCount, "1"},
    {"= in a key name", kSection, "a=b", "1"},
    {"key looking like a section", kSection, "[Autre]", "1"},
    {"key looking like a comment", kSection, ";x", "1"},
    {"empty key", kSection, " ", "1"},
    {"empty section", "", kCount, "1"},
};

class IniRefusedWriteTest : public ::testing::TestWithParam<RefusedWrite> {};

TEST_P(IniRefusedWriteTest, ReturnsZeroAndLeavesTheFileAlone) {
    const RefusedWrite& c = GetParam();
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    EXPECT_EQ(EcrireIni(c.section, c.key, c.value, path), 0) << c.what;
    EXPECT_EQ(readBytes(path), golden("two-characters.car")) << c.what;
    EXPECT_EQ(EcrireIni(c.section, c.key, c.value, folder.file("new.car")), 0) << c.what;
    EXPECT_EQ(folder.listing(), "s.car") << c.what;
}

INSTANTIATE_TEST_SUITE_P(Injection, IniRefusedWriteTest, ::testing::ValuesIn(kRefused));

TEST(IniWriteFailure, MissingFolder) {
    TempFolder folder;
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", folder.file("absent/s.car")), 0);
    EXPECT_EQ(EcrireIni(kSection, {{kCount, "1"}}, folder.file("absent/s.car")).number, ENOENT);
    EXPECT_EQ(folder.listing(), "");
}

TEST(IniWriteFailure, PathIsAFolder) {
    TempFolder folder;
    EXPECT_EQ(EcrireIni(kSection, kCount, "1", folder.path()), 0);
    EXPECT_EQ(EcrireIni(kSection, {{kCount, "1"}}, folder.path()).number, EISDIR);
    EXPECT_EQ(folder.listing(), "");
}

TEST(IniWriteFailure, ReadOnlyFolderLeavesTheFileUnchanged) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const std::string result = inChild(
        [&] {
            return std::to_string(EcrireIni(kSection, {{kCount, "3"}}, path).number);
        },
        {.unprivileged = true});
    EXPECT_EQ(result, std::to_string(EACCES));
    EXPECT_EQ(readBytes(path), golden("two-characters.car"));
    EXPECT_EQ(folder.listing(), "s.car");
}

TEST(IniWriteFailure, FullDiskLeavesTheFileUnchanged) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    // Room for fewer bytes than the file holds: the write stops part way.
    const std::string result = inChild(
        [&] {
            return std::to_string(
                EcrireIni(kSection, {{recordKey(3), "1;1;1;1;1;1;1;1"}}, path).number);
        },
        {.maxFileSize = 40});
    EXPECT_EQ(result, std::to_string(EFBIG));
    EXPECT_EQ(readBytes(path), golden("two-characters.car"));
    EXPECT_EQ(folder.listing(), "s.car") << "the partial temporary file must be removed";
}

TEST(IniWrite, ReplacingKeepsTheFilesPermissions) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, golden("two-characters.car"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(EcrireIni(kSection, kCount, "3", path), 1);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
