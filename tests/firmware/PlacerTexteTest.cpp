#include "firmware/PlacerTexte.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
    const char* text;
    const char* lookFor;
    const char* toPlace;
    bool replace;
    int32_t start;
    const char* expected;
};

}  // namespace

TEST(PlacerTexteTest, InsertsOrReplacesTheFirstWholeWordOccurrence) {
    const PlaceCase cases[] = {
        {"\t//ICI\r\n", "//ICI", "B", false, 1, "\tB //ICI\r\n"},
        {"a //ICI //ICI", "//ICI", "B", false, 1, "a B //ICI //ICI"},
        {"a //ICIx //ICI", "//ICI", "B", false, 1, "a //ICIx B //ICI"},
        {"//ICI\r\n", "//ICI", "B", false, 1, "//ICI\r\n"},
        {"//ICI //ICI", "//ICI", "B", false, 0, "B //ICI //ICI"},
        {"a //ici", "//ICI", "B", false, 1, "a //ici"},
        {"x\r\n#define CarRet 0\r\n", "#define CarRet 0", "#define CarRet 3", true, 1,
         "x\r\n#define CarRet 3 \r\n"},
        {"x\r\n#define CarRet 0\r\n", "#define CarRet 0", "#define CarRet ", true, 1,
         "x\r\n#define CarRet  \r\n"},
        {"x\r\n#define CarRet 01\r\n", "#define CarRet 0", "#define CarRet 3", true, 1,
         "x\r\n#define CarRet 01\r\n"},
        {"", "//ICI", "B", false, 1, ""},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.text);
        bool replace = c.replace;
        int32_t start = c.start;
        PlacerTexte(box, c.lookFor, c.toPlace, replace, start);
        EXPECT_EQ(box.Text(), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(replace, c.replace);
        EXPECT_EQ(start, c.start);
    }
}

TEST(PlacerTexteTest, SuccessiveBlocksStandInOrderBeforeTheMarker) {
    TextBox box;
    box.Text("{\r\n\t//ICI\r\n}");
    bool replace = false;
    int32_t start = 1;
    for (const char* block : {"un", "deux", "trois"}) {
        PlacerTexte(box, "//ICI", block, replace, start);
    }
    EXPECT_EQ(box.Text(), "{\r\n\tun deux trois //ICI\r\n}");
}
