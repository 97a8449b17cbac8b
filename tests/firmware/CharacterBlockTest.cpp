#include "firmware/CharacterBlock.h"

#include <gtest/gtest.h>

namespace {

std::string rows(const char* const (&values)[7]) {
    std::string text;
    for (int r = 0; r < 7; ++r) {
        text +=
            std::string("\r\n\t\tValLigne[") + static_cast<char>('0' + r) + "]=" + values[r] + ";";
    }
    return text;
}

std::string master(const char* const (&values)[7], const char* ticks) {
    return "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" + rows(values) + "\r\n\t\twhile(T100ms<" +
           ticks + "){}\r\n";
}

}  // namespace

TEST(CharacterBlockTest, MasterBlockHasTheRowsAndTheTickCount) {
    EXPECT_EQ(characterBlock(Role::Maitre, "4;10;17;17;31;17;17;0.5"),
              "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;"
              "\r\n\t\tValLigne[0]=4;\r\n\t\tValLigne[1]=10;\r\n\t\tValLigne[2]=17;"
              "\r\n\t\tValLigne[3]=17;\r\n\t\tValLigne[4]=31;\r\n\t\tValLigne[5]=17;"
              "\r\n\t\tValLigne[6]=17;\r\n\t\twhile(T100ms<5){}\r\n");
}

TEST(CharacterBlockTest, SlaveBlockIgnoresTheDurationAndHasNoLineEnd) {
    EXPECT_EQ(characterBlock(Role::Esclave, "4;10;17;17;31;17;17;0.5"),
              "\r\n\r\n\t\tT100ms=0;"
              "\r\n\t\tValLigne[0]=4;\r\n\t\tValLigne[1]=10;\r\n\t\tValLigne[2]=17;"
              "\r\n\t\tValLigne[3]=17;\r\n\t\tValLigne[4]=31;\r\n\t\tValLigne[5]=17;"
              "\r\n\t\tValLigne[6]=17;\r\n\t\twhile (T100ms < tempo){}");
    EXPECT_EQ(characterBlock(Role::Esclave, "1;1;1;1;1;1;1;9"),
              characterBlock(Role::Esclave, "1;1;1;1;1;1;1;0.5"));
}

TEST(CharacterBlockTest, RecordsAreReadByTheLeadingNumberRule) {
    const struct {
        const char* record;
        const char* rowValues[7];
        const char* ticks;
    } cases[] = {
        {"0;0;0;0;0;0;0;0.5", {"0", "0", "0", "0", "0", "0", "0"}, "5"},
        {"0;0;0;0;0;0;0;1.25", {"0", "0", "0", "0", "0", "0", "0"}, "12.5"},
        {"0;0;0;0;0;0;0;2", {"0", "0", "0", "0", "0", "0", "0"}, "20"},
        {"0;0;0;0;0;0;0;0.3", {"0", "0", "0", "0", "0", "0", "0"}, "3"},
        {"0;0;0;0;0;0;0;", {"0", "0", "0", "0", "0", "0", "0"}, "0"},
        {"0;0;0;0;0;0;0;x", {"0", "0", "0", "0", "0", "0", "0"}, "0"},
        {"5;6", {"5", "0", "0", "0", "0", "0", "0"}, "60"},
        {"", {"0", "0", "0", "0", "0", "0", "0"}, "0"},
        {"31;1;1;15;1;1;1;1.5", {"31", "1", "1", "15", "1", "1", "1"}, "15"},
        {" 1 2;x;2.5;-3;&H1F;1e1;7;0.5;9", {"12", "0", "2.5", "-3", "31", "10", "7"}, "5"},
        {"1;2;3;4;5;6;7;0,5", {"1", "2", "3", "4", "5", "6", "7"}, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(characterBlock(Role::Maitre, c.record), master(c.rowValues, c.ticks)) << c.record;
    }
}
