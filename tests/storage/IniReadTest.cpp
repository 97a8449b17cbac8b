#include <sys/stat.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "StorageTestSupport.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

struct ReadCase {
    const char* what;
    std::string file;  // bytes on disk
    std::string section;
    std::string key;
    std::string expected;  // UTF-8
};

const std::string kSection = "Caractères";
const std::string kAnsiSection = "[Caract\xE8res]";

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out.append(piece);
    }
    return out;
}

const ReadCase kReadCases[] = {
    {"plain Windows file", kAnsiSection + "\r\nNombre=2\r\n", kSection, "Nombre", "2"},
    {"record key", kAnsiSection + "\r\nCaract\xE8re1=0;0;0;0;0;0;0;0.5\r\n", kSection, "Caractère1",
     "0;0;0;0;0;0;0;0.5"},
    {"missing key", kAnsiSection + "\r\nNombre=2\r\n", kSection, "Caractère1", ""},
    {"missing section", "[Autre]\r\nNombre=2\r\n", kSection, "Nombre", ""},
    {"empty file", "", kSection, "Nombre", ""},
    {"section case", "[CARACT\xE8RES]\r\nNombre=2\r\n", kSection, "Nombre", "2"},
    {"key case", kAnsiSection + "\r\nNOMBRE=2\r\n", kSection, "nombre", "2"},
    {"only ASCII case folds", "[Caract\xC8res]\r\nNombre=2\r\n", kSection, "Nombre", ""},
    {"blanks around names and =", " \t[ Caract\xE8res ]\t\r\n  Nombre \t=  2 \t\r\n", kSection,
     "Nombre", "2"},
    {"blanks around requested names", kAnsiSection + "\r\nNombre=2\r\n", " Caractères ",
     "\tNombre ", "2"},
    {"blanks inside a value kept", kAnsiSection + "\r\nk= a  b \r\n", kSection, "k", "a  b"},
    {"double quotes removed", kAnsiSection + "\r\nk=\" a b \"\r\n", kSection, "k", " a b "},
    {"single quotes removed", kAnsiSection + "\r\nk='3'\r\n", kSection, "k", "3"},
    {"quotes after blanks removed", kAnsiSection + "\r\nk=  \"3\"  \r\n", kSection, "k", "3"},
    {"mismatched quotes kept", kAnsiSection + "\r\nk=\"3'\r\n", kSection, "k", "\"3'"},
    {"lone quote kept", kAnsiSection + "\r\nk=\"\r\n", kSection, "k", "\""},
    {"only one pair removed", kAnsiSection + "\r\nk=\"\"3\"\"\r\n", kSection, "k", "\"3\""},
    {"first duplicate key wins", kAnsiSection + "\r\nNombre=1\r\nNombre=2\r\n", kSection, "Nombre",
     "1"},
    {"first duplicate section wins",
     kAnsiSection + "\r\nNombre=1\r\n" + kAnsiSection + "\r\nNombre=2\r\nCaract\xE8re1=x\r\n",
     kSection, "Nombre", "1"},
    {"keys of a later duplicate section are not seen",
     kAnsiSection + "\r\nNombre=1\r\n" + kAnsiSection + "\r\nCaract\xE8re1=x\r\n", kSection,
     "Caractère1", ""},
    {"LF line ends", kAnsiSection + "\nNombre=1\nCaract\xE8re1=x\n", kSection, "Caractère1", "x"},
    {"CR line ends", kAnsiSection + "\rNombre=1\rCaract\xE8re1=x\r", kSection, "Caractère1", "x"},
    {"mixed line ends", kAnsiSection + "\rNombre=1\nCaract\xE8re1=x\r\nk=y", kSection, "k", "y"},
    {"last line without line end", kAnsiSection + "\r\nNombre=7", kSection, "Nombre", "7"},
    {"UTF-8 with byte-order mark", "\xEF\xBB\xBF[Caractères]\r\nCaractère1=é;1\r\n", kSection,
     "Caractère1", "é;1"},
    {"UTF-8 without byte-order mark", "[Caractères]\nCaractère1=1\n", kSection, "Caractère1", "1"},
    {"ANSI value comes back as UTF-8", kAnsiSection + "\r\nk=\xE9t\xE9 \x80\r\n", kSection, "k",
     "été €"},
    {"comment lines ignored", kAnsiSection + "\r\n;Nombre=5\r\n  ; Nombre=6\r\nNombre=2\r\n",
     kSection, "Nombre", "2"},
    {"comment after section name", kAnsiSection + " ; les caract\xE8res\r\nNombre=2\r\n", kSection,
     "Nombre", "2"},
    {"keys before any section ignored", "Nombre=5\r\n" + kAnsiSection + "\r\nx=1\r\n", kSection,
     "Nombre", ""},
    {"key without =", kAnsiSection + "\r\nNombre\r\nNombre=3\r\n", kSection, "Nombre", ""},
    {"empty value", kAnsiSection + "\r\nNombre=\r\n", kSection, "Nombre", ""},
    {"= inside a value", kAnsiSection + "\r\nk=a=b\r\n", kSection, "k", "a=b"},
    {"NUL ends the line's text",
     kAnsiSection + std::string("\r\nNombre=12\0"
                                "34\r\n",
                                16),
     kSection, "Nombre", "12"},
    {"unclosed section line is not a section", kAnsiSection + "\r\n[Autre\r\nNombre=2\r\n",
     kSection, "Nombre", "2"},
    {"blank lines between", "\r\n\r\n" + kAnsiSection + "\r\n\r\n\r\nNombre=2\r\n", kSection,
     "Nombre", "2"},
    {"126 characters kept", kAnsiSection + "\r\nk=" + repeated("7", 126) + "\r\n", kSection, "k",
     repeated("7", 126)},
    {"longer value cut to 126", kAnsiSection + "\r\nk=" + repeated("0123456789", 13) + "\r\n",
     kSection, "k", repeated("0123456789", 12) + "012345"},
    {"cut counts characters, not bytes", "\xEF\xBB\xBF[Caractères]\nk=" + repeated("é", 130) + "\n",
     kSection, "k", repeated("é", 126)},
    {"ANSI accents count one each", kAnsiSection + "\nk=" + repeated("\xE9", 130) + "\n", kSection,
     "k", repeated("é", 126)},
    {"invalid bytes in a UTF-8 file become ?",
     "\xEF\xBB\xBF[Caractères]\nk=a\xFF"
     "b\n",
     kSection, "k", "a?b"},
    {"very long line before the key",
     kAnsiSection + "\r\nx=" + repeated("y", 1 << 20) + "\r\nNombre=4\r\n", kSection, "Nombre",
     "4"},
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsAsWindowsDoes) {
    const ReadCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, c.file);
    EXPECT_EQ(LireIni(c.section, c.key, path), c.expected) << c.what;
    EXPECT_EQ(readBytes(path), c.file) << "reading must not change the file";
}

INSTANTIATE_TEST_SUITE_P(Rules, IniReadTest, ::testing::ValuesIn(kReadCases));

TEST(IniRead, MissingFileGivesEmptyTextAndCreatesNothing) {
    TempFolder folder;
    EXPECT_EQ(LireIni("Caractères", "Nombre", folder.file("absent.car")), "");
    EXPECT_EQ(LireIni("Caractères", "Nombre", folder.file("no/such/folder.car")), "");
    EXPECT_EQ(folder.listing(), "");
}

TEST(IniRead, TheExampleSequenceFile) {
    const std::string path = std::string(VEXLO_TEST_DATA) + "/ini/two-characters.car";
    EXPECT_EQ(LireIni("Caractères", "Nombre", path), "2");
    EXPECT_EQ(LireIni("Caractères", recordKey(1), path), "0;0;0;0;0;0;0;0.5");
    EXPECT_EQ(LireIni("Caractères", recordKey(2), path), "31;0;0;0;0;0;31;1.5");
    EXPECT_EQ(LireIni("Caractères", recordKey(3), path), "");
}

TEST(IniRead, SomethingThatIsNotARegularFileReadsAsEmptyWithoutBlocking) {
    TempFolder folder;
    const std::string fifo = folder.file("pipe.car");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LireIni("Caractères", "Nombre", fifo), "");  // a blocking open would hang here
    EXPECT_EQ(LireIni("Caractères", "Nombre", folder.path()), "");
    EXPECT_EQ(LireIni("Caractères", "Nombre", "/dev/zero"), "");
}

TEST(IniRead, BinaryGarbageNeverBreaksTheReader) {
    TempFolder folder;
    const std::string path = folder.file("garbage.car");
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<size_t>(random() % 4096), '\0');
        for (char& b : bytes) {
            b = static_cast<char>(random() % 4 == 0 ? "[]=;\r\n\"' "[random() % 9] : random());
        }
        if (round % 2 == 0) {
            bytes = "\xEF\xBB\xBF" + bytes;
        }
        writeBytes(path, bytes);
        EXPECT_LE(LireIni("Caractères", "Nombre", path).size(), 126u * 4);
    }
}

}  // namespace
