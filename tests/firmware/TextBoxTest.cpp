#include "firmware/PlacerTexte.h"
#include "firmware/TextBox.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "TestFiles.h"

namespace {

constexpr int kExact = TextBox::WholeWord | TextBox::MatchCase;

TEST(TextBoxTest, FindFollowsTheWordAndCaseRules) {
    const struct {
        const char* text;
        const char* what;
        int32_t start;
        int options;
        int32_t expected;
    } cases[] = {
        {"a;//ICI;", "//ICI", 0, kExact, 2},
        {"a //ICI_ 9//ICI //ICIx", "//ICI", 0, kExact, -1},  // letters, digits, "_" touch it
        {"x//ICI //ICI", "//ICI", 0, kExact, 7},
        {"#define CarRet 00", "#define CarRet 0", 0, kExact, -1},
        {"\xC3\xA9//ICI //ICI\xC5\x93", "//ICI", 0, kExact, -1},  // é and œ are letters
        {"\xC2\xAB//ICI\xC2\xBB", "//ICI", 0, kExact, 2},         // « and » are not
        {"a //ici", "//ICI", 0, kExact, -1},
        {"a //ici", "//ICI", 0, TextBox::WholeWord, 2},
        {"xwordx", "WORD", 0, 0, 1},
        {"\xC3\x89word", "\xC3\xA9word", 0, 0, -1},  // only ASCII letters fold
        {"//ICI //ICI", "//ICI", 1, kExact, 6},
        {"abc", "c", 3, 0, -1},
        {"abc", "a", -1, 0, -1},
        {"abc", "", 0, 0, -1},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.text);
        EXPECT_EQ(box.Find(c.what, c.start, c.options), c.expected)
            << '"' << c.text << "\" / \"" << c.what << "\" from " << c.start;
    }
}

TEST(TextBoxTest, TheSelectionMovesAsTheGenerationNeedsIt) {
    TextBox box;
    box.Text("abcdef");
    EXPECT_EQ(box.Find("cd", 0, 0), 2);
    EXPECT_EQ(box.selLength(), 2);
    EXPECT_EQ(box.Find("absent", 0, 0), -1);  // a miss leaves the selection
    box.SelText("XY");
    EXPECT_EQ(box.Text(), "abXYef");
    EXPECT_EQ(box.selStart(), 4);
    EXPECT_EQ(box.selLength(), 0);
    box.SelStart(10);
    box.SelLength(-1);
    box.SelText("!");
    box.SelStart(-4);
    box.SelLength(100);
    EXPECT_EQ(box.selLength(), 7);
    box.append("gh");
    EXPECT_EQ(box.Text(), "abXYef!gh");
    EXPECT_EQ(box.selLength(), 7);
    box.Text("new");
    EXPECT_EQ(box.selLength(), 0);
}

TEST(TextBoxTest, PlacerTexteInsertsOrReplacesTheFirstWholeWord) {
    const struct {
        const char* text;
        const char* lookFor;
        const char* toPlace;
        bool replace;
        int32_t start;
        const char* expected;
    } cases[] = {
        {"a //ICIx //ICI //ICI", "//ICI", "B", false, 1, "a //ICIx B //ICI //ICI"},
        {"//ICI\r\n", "//ICI", "B", false, 1, "//ICI\r\n"},
        {"//ICI", "//ICI", "B", false, 0, "B //ICI"},
        {"x\r\n#define CarRet 0\r\n", "#define CarRet 0", "#define CarRet ", true, 1,
         "x\r\n#define CarRet  \r\n"},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.text);
        bool replace = c.replace;
        int32_t start = c.start;
        PlacerTexte(box, c.lookFor, c.toPlace, replace, start);
        EXPECT_EQ(box.Text(), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextBoxTest, FilesAreWindows1252AndEveryByteSurvivesARoundTrip) {
    TempFolder folder;
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    writeBytes(folder.file("in.mod"), allBytes);
    TextBox box;
    ASSERT_FALSE(box.FileName(folder.file("in.mod")).failed());
    EXPECT_NE(box.Text().find("\xC3\xA8"), std::string::npos);  // è
    ASSERT_FALSE(box.SaveFile(folder.file("out.c"), TextBox::PlainText).failed());
    EXPECT_EQ(readBytes(folder.file("out.c")), allBytes);
    box.Text("\xE2\x82\xAC \xE2\x98\x83");  // euro sign, snowman
    ASSERT_FALSE(box.SaveFile(folder.file("out.c"), TextBox::PlainText).failed());
    EXPECT_EQ(readBytes(folder.file("out.c")), "\x80 ?");
}

TEST(TextBoxTest, AFileThatCannotBeReadOrWrittenIsNamedAndChangesNothing) {
    TempFolder folder;
    TextBox box;
    box.Text("ancien");
    const SystemError missing = box.FileName(folder.file("absent.mod"));
    EXPECT_EQ(missing.path, folder.file("absent.mod"));
    EXPECT_EQ(missing.number, ENOENT);
    EXPECT_EQ(box.Text(), "ancien");
    EXPECT_EQ(box.SaveFile(folder.file("rich.rtf"), 0).number, ENOTSUP);
    EXPECT_EQ(folder.listing(), "");
}

}  // namespace
