#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "storage/FichIni.h"

namespace {

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out.append(piece);
    }
    return out;
}

TEST(IniReadTest, ReadsAsWindowsDoes) {
    const std::string s = "[Caract\xE8res]";
    const struct {
        std::string file;
        std::string key;
        std::string expected;  // UTF-8
    } cases[] = {
        {s + "\r\nNombre=2\r\n", "Nombre", "2"},
        {s + "\r\nNombre=2\r\n", "Caractère1", ""},
        {"[Autre]\r\nNombre=2\r\n", "Nombre", ""},
        {"Nombre=5\r\n" + s + "\r\nx=1\r\n", "Nombre", ""},  // before any section
        {"[CARACT\xE8RES]\r\nNOMBRE=2\r\n", "nombre", "2"},
        {"[Caract\xC8res]\r\nNombre=2\r\n", "Nombre", ""},  // only ASCII letters fold
        {" \t[ Caract\xE8res ] ; x\r\n  Nombre \t=  a  b \t\r\n", "\tNombre ", "a  b"},
        {s + "\r\nk=\" a b \"\r\n", "k", " a b "},
        {s + "\r\nk=  '3'  \r\n", "k", "3"},
        {s + "\r\nk=\"3'\r\n", "k", "\"3'"},
        {s + "\r\nk=a=b\r\n", "k", "a=b"},
        {s + "\r\nNombre\r\nNombre=3\r\n", "Nombre", ""},  // a bare name is a key too
        {s + "\r\nNombre=1\r\nNombre=2\r\n", "Nombre", "1"},
        {s + "\r\nx=1\r\n" + s + "\r\nNombre=2\r\n", "Nombre", ""},
        {s + "\r\n;Nombre=5\r\n  ; Nombre=6\r\nNombre=2\r\n", "Nombre", "2"},
        {s + "\r\n[Autre\r\nNombre=2\r\n", "Nombre", "2"},
        {s + std::string("\r\nNombre=12\0"
                         "34\r\n",
                         16),
         "Nombre", "12"},
        {s + "\rNombre=1\nCaract\xE8re1=x\r\nk=y", "k", "y"},
        {s + "\r\nk=\xE9t\xE9 \x80\r\n", "k", "été €"},
        {"\xEF\xBB\xBF[Caractères]\r\nk=é;\xFF\r\n", "k", "é;?"},
        {"[Caractères]\nCaractère1=1\n", "Caractère1", "1"},
        {s + "\r\nk=" + repeated("0123456789", 13) + "\r\n", "k",
         repeated("0123456789", 12) + "012345"},
        {"\xEF\xBB\xBF[Caractères]\nk=" + repeated("é", 130) + "\n", "k", repeated("é", 126)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(iniValueOf(c.file, " Caractères ", c.key), c.expected) << c.file;
    }
}

TEST(IniReadTest, AFileThatCannotBeReadReadsAsEmptyAndIsLeftAlone) {
    TempFolder folder;
    const std::string path = folder.file("s.car");
    writeBytes(path, "[Caract\xE8res]\r\nNombre=2\r\n");
    EXPECT_EQ(LireIni("Caractères", "Nombre", path), "2");
    EXPECT_EQ(readBytes(path), "[Caract\xE8res]\r\nNombre=2\r\n");
    EXPECT_EQ(LireIni("Caractères", "Nombre", folder.file("absent.car")), "");
    EXPECT_EQ(LireIni("Caractères", "Nombre", folder.path()), "");
    EXPECT_EQ(folder.listing(), "s.car");
}

}  // namespace
