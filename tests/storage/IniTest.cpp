#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestFiles.h"
#include "storage/FichIni.h"

namespace {

using namespace std::literals;

const std::string kSection = "Caractères";
const std::string kHead = "[Caract\xE8res]\r\n";

TEST(IniReadTest, ReadsAsWindowsDoes) {
    const struct {
        std::string file;
        std::vector<std::string> keys;
        std::string expected;  // their values, each followed by "|"
    } cases[] = {
        {"k=0\r\n[Autre]\r\nk=1\r\n" + kHead + "k=2\r\nk=3\r\n[Autre\r\nm=4\r\n" + kHead + "p=6",
         {"k", "m", "p"},
         "2|4||"},
        {" \t[ CARACT\xE8RES ] ; x\r\n  NomBre \t=  a  b \t\r\nb\r\nb=1\r\nq=\" a \"\r\nr= '3' ",
         {"\tnombre ", "b", "q", "r"},
         "a  b|| a |3|"},
        {kHead + "s=\"3'\r\nt=a=b\r\n" + std::string("n=12\0z", 6),
         {"s", "t", "n"},
         "\"3'|a=b|12|"},
        {"[Caract\xC8res]\r\nk=1\r\n", {"k"}, "|"},  // only ASCII letters fold
        {"[Caract\xE8res]\rn=1\nm=2\r\nk=\xE9t\xE9 \x80", {"n", "m", "k"}, "1|2|été €|"},
        {"\xEF\xBB\xBF[Caractères]\r\nk=é;\xFF\r\n", {"k"}, "é;?|"},
        {"[Caractères]\nCaractère1=1\n", {"Caractère1"}, "1|"},
        {kHead + "k=\xE9" + std::string(130, 'x'), {"k"}, "é" + std::string(125, 'x') + "|"},
        {"[Caractères]\nk=é" + std::string(130, 'x'), {"k"}, "é" + std::string(125, 'x') + "|"},
    };
    for (const auto& c : cases) {
        std::string values;
        for (const std::string& key : c.keys)
            values += iniValueOf(c.file, " Caractères ", key) + "|";
        EXPECT_EQ(values, c.expected) << c.file;
    }
}

TEST(IniWriteTest, ValidationsGiveTheExampleFilesByteForByte) {
    for (const std::string name : {"", "lf-endings", "utf8-bom", "other-sections"}) {
        TempFolder folder;
        const std::string path = folder.file("MessageTemporaire.car");
        if (name.empty()) {
            EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", path), 1);
            EXPECT_EQ(EcrireIni(kSection, "Caractère1", "0;0;0;0;0;0;0;0.5", path), 1);
        } else {
            writeBytes(path, testData("ini/" + name + ".car"));
        }
        EXPECT_EQ(EcrireIni(kSection, "Nombre", "2", path), 1);
        EXPECT_EQ(EcrireIni(kSection, "Caractère2", "31;0;0;0;0;0;31;1.5", path), 1);
        EXPECT_EQ(readBytes(path), testData(name.empty() ? "ini/two-characters.car"
                                                         : "ini/" + name + ".expected.car"))
            << name;
    }
}

TEST(IniWriteTest, KeysAreReplacedWhereTheyStandOrAddedAfterTheirSection) {
    const struct {
        std::string before, key, value, after;
    } cases[] = {
        {kHead + "  nombre = 1 \nNombre=9\r\nx=1", " NOMBRE ", "2",
         kHead + "NOMBRE=2\nNombre=9\r\nx=1"},
        {"[Autre]\rk=v", "Nombre", "1", "[Autre]\rk=v\r[Caract\xE8res]\rNombre=1\r"},
        {"", "k", "日", kHead + "k=?\r\n"},  // no Windows-1252 byte for it
        {"[Caractères]\nNombre=1\n", "k", "é", "[Caractères]\nNombre=1\nk=é\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withIniValue(c.before, kSection, c.key, c.value), c.after) << c.before;
}

// A name or value that would add lines or sections of its own is refused, and nothing is written.
TEST(IniWriteTest, RefusalsAndFailuresWriteNothingAndAreReported) {
    for (const std::string_view value : {"1\r\n[Autre]"sv, "1\nx=1"sv, "1\rx=9"sv, "1\0z"sv})
        EXPECT_EQ(withIniValue(kHead, kSection, "Nombre", value), std::nullopt) << value;
    for (const std::string key : {"Nombre=5\r\nx", "a=b", ";x", " "})
        EXPECT_EQ(withIniValue(kHead, kSection, key, "1"), std::nullopt) << key;
    for (const std::string section : {"Carac]t", ""})
        EXPECT_EQ(withIniValue(kHead, section, "Nombre", "1"), std::nullopt) << section;
    TempFolder folder;
    writeBytes(folder.file("s.car"), kHead);
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1\r\n[Autre]", folder.file("s.car")), 0);
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", folder.file("absent/s.car")), 0);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1"}}, folder.path()).number, EISDIR);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1"}, {"k", "\n"}}, folder.file("s.car")).number,
              EINVAL);
    EXPECT_EQ(readBytes(folder.file("s.car")), kHead);
    EXPECT_EQ(folder.listing(), "s.car");
}

// Two windows validating at once: each write reads, changes and replaces the whole file.
TEST(IniWriteTest, TwoProcessesWritingDifferentKeysAtOnceLoseNone) {
    TempFolder folder;
    const std::string path = folder.file("MessageTemporaire.car");
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        if ((writers[w] = ::fork()) == 0) {
            bool written = true;
            for (int i = 0; i < 100; ++i)
                written &= EcrireIni(kSection, std::to_string(w * 100 + i), "v", path) == 1;
            ::_exit(written ? 0 : 1);
        }
    }
    for (const pid_t pid : writers) {
        int status = -1;
        EXPECT_EQ(::waitpid(pid, &status, 0) == pid && status == 0, true) << "a write failed";
    }
    int lost = 0;
    for (int key = 0; key < 200; ++key)
        lost += LireIni(kSection, std::to_string(key), path) != "v";
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(LireIni(kSection, "1", folder.file("absent.car")), "");  // and makes nothing
    EXPECT_EQ(folder.listing(), ".MessageTemporaire.car.lock MessageTemporaire.car");
}

}  // namespace
