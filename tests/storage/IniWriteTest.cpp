#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "storage/FichIni.h"

namespace {

const std::string kSection = "Caractères";

// What the validations of two characters write, in the order they write it.
void validateTwoCharacters(const std::string& path) {
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "2", path), 1);
    EXPECT_EQ(EcrireIni(kSection, "Caractère2", "31;0;0;0;0;0;31;1.5", path), 1);
}

TEST(IniWriteTest, TwoValidationsFromAFreshStartGiveTheExampleFile) {
    TempFolder folder;
    const std::string path = folder.file("MessageTemporaire.car");
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", path), 1);
    EXPECT_EQ(EcrireIni(kSection, "Caractère1", "0;0;0;0;0;0;0;0.5", path), 1);
    validateTwoCharacters(path);
    EXPECT_EQ(readBytes(path), testData("ini/two-characters.car"));
}

// The second validation into files made elsewhere: line ends, encoding, other sections and
// comments stay as they were, the new key lands after the last key of its section.
TEST(IniWriteTest, ASecondValidationKeepsTheRestOfTheFile) {
    for (const char* name : {"lf-endings", "utf8-bom", "other-sections"}) {
        TempFolder folder;
        const std::string path = folder.file("s.car");
        writeBytes(path, testData("ini/" + std::string(name) + ".car"));
        validateTwoCharacters(path);
        EXPECT_EQ(readBytes(path), testData("ini/" + std::string(name) + ".expected.car")) << name;
    }
}

TEST(IniWriteTest, KeysAreReplacedWhereTheyStandOrAddedAfterTheirSection) {
    const std::string s = "[Caract\xE8res]";
    const struct {
        std::string before;
        std::string key;
        std::string value;
        std::string after;
    } cases[] = {
        {s + "\r\n  nombre = 1 \nNombre=9\r\nx=1", " NOMBRE ", "2",
         s + "\r\nNOMBRE=2\nNombre=9\r\nx=1"},
        {s + "\nNombre=1", "k", "été", s + "\nNombre=1\nk=\xE9t\xE9\n"},
        {"[Autre]\rk=v", "Nombre", "1", "[Autre]\rk=v\r" + s + "\rNombre=1\r"},
        {s, "Nombre", "1", s + "\r\nNombre=1\r\n"},
        {"", "k", "日", s + "\r\nk=?\r\n"},  // no Windows-1252 byte for it
        {"[Caractères]\nNombre=1\n", "k", "é", "[Caractères]\nNombre=1\nk=é\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withIniValue(c.before, kSection, c.key, c.value), c.after) << c.before;
    }
}

// A value or name that would add lines or sections of its own is refused.
TEST(IniWriteTest, RefusedNamesAndValuesWriteNothing) {
    const struct {
        std::string section;
        std::string key;
        std::string value;
    } cases[] = {
        {kSection, "Nombre", "1\r\n[Autre]\r\nx=1"},
        {kSection, "Nombre", "1\nCaractère9=1"},
        {kSection, "Nombre", "1\rNombre=9"},
        {kSection, "Nombre=5\r\nx", "1"},
        {"Caractères]\r\n[Autre", "Nombre", "1"},
        {kSection, "Nombre",
         std::string("1\0"
                     "2",
                     3)},
        {"Carac]t", "Nombre", "1"},
        {kSection, "a=b", "1"},
        {kSection, "[Autre]", "1"},
        {kSection, ";x", "1"},
        {kSection, " ", "1"},
        {"", "Nombre", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withIniValue("[Caract\xE8res]\r\n", c.section, c.key, c.value), std::nullopt)
            << c.section << "|" << c.key << "|" << c.value;
    }
    TempFolder folder;
    writeBytes(folder.file("s.car"), "[Caract\xE8res]\r\n");
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1\r\n[Autre]", folder.file("s.car")), 0);
    EXPECT_EQ(readBytes(folder.file("s.car")), "[Caract\xE8res]\r\n");
}

TEST(IniWriteTest, AFileThatCannotBeWrittenIsReported) {
    TempFolder folder;
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", folder.file("absent/s.car")), 0);
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", folder.path()), 0);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1"}}, folder.file("absent/s.car")).number, ENOENT);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1"}}, folder.path()).number, EISDIR);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1\n"}}, folder.file("s.car")).number, EINVAL);
    EXPECT_EQ(folder.listing(), "");
}

// Two windows validating at once: each write reads, changes and replaces the whole file.
TEST(IniWriteTest, TwoProcessesWritingDifferentKeysAtOnceLoseNone) {
    TempFolder folder;
    const std::string path = folder.file("MessageTemporaire.car");
    constexpr int kKeys = 100;
    std::vector<pid_t> writers;
    for (const std::string prefix : {"a", "b"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool written = true;
            for (int i = 0; i < kKeys; ++i) {
                written &= EcrireIni(kSection, prefix + std::to_string(i), "v", path) == 1;
            }
            ::_exit(written ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write reported failure";
    }
    int lost = 0;
    for (const std::string prefix : {"a", "b"}) {
        for (int i = 0; i < kKeys; ++i) {
            lost += LireIni(kSection, prefix + std::to_string(i), path) != "v";
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(folder.listing(), ".MessageTemporaire.car.lock MessageTemporaire.car");
}

}  // namespace
