#include "firmware/CharacterBlock.h"

#include <gtest/gtest.h>

namespace {

const char* const kRows =
    "\r\n\t\tValLigne[0]=4;\r\n\t\tValLigne[1]=10;\r\n\t\tValLigne[2]=17;\r\n\t\tValLigne[3]=17;"
    "\r\n\t\tValLigne[4]=31;\r\n\t\tValLigne[5]=17;\r\n\t\tValLigne[6]=0;";

TEST(CharacterBlockTest, EachRoleHasItsShape) {
    EXPECT_EQ(characterBlock(Role::Maitre, "4;10;17;17;31;17;;1.25"),
              std::string("\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;") + kRows +
                  "\r\n\t\twhile(T100ms<12.5){}\r\n");
    EXPECT_EQ(characterBlock(Role::Esclave, "4;10;17;17;31;17;;1.25"),
              std::string("\r\n\r\n\t\tT100ms=0;") + kRows + "\r\n\t\twhile (T100ms < tempo){}");
}

// A field without a ";" of its own is no row value: it stays for the duration.
TEST(CharacterBlockTest, ARecordCutShortKeepsItsLastFieldForTheDuration) {
    const std::string block = characterBlock(Role::Maitre, "5;6");
    EXPECT_NE(block.find("ValLigne[0]=5;\r\n\t\tValLigne[1]=0;"), std::string::npos);
    EXPECT_NE(block.find("while(T100ms<60){}"), std::string::npos);
}

}  // namespace
