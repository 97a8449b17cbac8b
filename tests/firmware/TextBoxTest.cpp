#include "firmware/TextBox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int wholeWordMatchCase = TextBox::WholeWord | TextBox::MatchCase;

struct FindCase {
    const char* text;
    const char* what;
    int32_t start;
    int options;
    int32_t expected;
};

}  // namespace

TEST(TextBoxFindTest, FollowsTheWordAndCaseRules) {
    const FindCase cases[] = {
        // Whole word: the neighbours must not be letters, digits or "_".
        {"a //ICI b", "//ICI", 0, wholeWordMatchCase, 2},
        {"\t//ICI\r\n}", "//ICI", 1, wholeWordMatchCase, 1},
        {"a //ICIx", "//ICI", 0, wholeWordMatchCase, -1},
        {"a //ICI_", "//ICI", 0, wholeWordMatchCase, -1},
        {"a 9//ICI", "//ICI", 0, wholeWordMatchCase, -1},
        {"x//ICI //ICI", "//ICI", 0, wholeWordMatchCase, 7},
        {"a;//ICI;", "//ICI", 0, wholeWordMatchCase, 2},
        {"a //ICI", "//ICI", 0, wholeWordMatchCase, 2},
        {"#define CarRet 0\r\n", "#define CarRet 0", 0, wholeWordMatchCase, 0},
        {"x\r\n#define CarRet 0", "#define CarRet 0", 1, wholeWordMatchCase, 3},
        {"#define CarRet 00\r\n", "#define CarRet 0", 0, wholeWordMatchCase, -1},
        {"#define CarRet 0;", "#define CarRet 0", 0, wholeWordMatchCase, 0},
        // Accented letters are letters; other non-ASCII characters are not.
        {"\xC3\xA9//ICI", "//ICI", 0, wholeWordMatchCase, -1},
        {"//ICI\xC3\xA8", "//ICI", 0, wholeWordMatchCase, -1},
        {"\xC2\xAB//ICI\xC2\xBB", "//ICI", 0, wholeWordMatchCase, 2},
        {"a \xC3\x97//ICI", "//ICI", 0, wholeWordMatchCase, 4},
        // Case.
        {"a //ici b", "//ICI", 0, wholeWordMatchCase, -1},
        {"a //ici b", "//ICI", 0, TextBox::WholeWord, 2},
        {"a //ici b", "//ICI", 0, TextBox::MatchCase, -1},
        // Options 0: any case, inside words too.
        {"xaucunex", "Aucune", 0, 0, 1},
        {"Erreurs: AUCUNE", "Aucune", 1, 0, 9},
        {"ERRORS", "error", 1, 0, -1},
        {" ERRORS", "error", 1, 0, 1},
        {"\xC3\x89rror", "error", 0, 0, -1},
        // The start index.
        {"//ICI", "//ICI", 1, wholeWordMatchCase, -1},
        {"//ICI", "//ICI", 0, wholeWordMatchCase, 0},
        {"//ICI //ICI", "//ICI", 1, wholeWordMatchCase, 6},
        {"abc", "c", 3, 0, -1},
        {"abc", "c", 4, 0, -1},
        {"abc", "a", -1, 0, -1},
        {"abc", "", 0, 0, -1},
        {"", "a", 0, 0, -1},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.text);
        EXPECT_EQ(box.Find(c.what, c.start, c.options), c.expected)
            << '"' << c.text << "\" / \"" << c.what << "\" from " << c.start << " options "
            << c.options;
    }
}

TEST(TextBoxFindTest, AMatchIsSelectedAndAMissLeavesTheSelection) {
    TextBox box;
    box.Text("make: AUCUNE erreur");
    box.SelStart(2);
    box.SelLength(3);
    EXPECT_EQ(box.Find("absent", 0, 0), -1);
    EXPECT_EQ(box.selStart(), 2);
    EXPECT_EQ(box.selLength(), 3);
    EXPECT_EQ(box.Find("aucune", 1, 0), 6);
    EXPECT_EQ(box.selStart(), 6);
    EXPECT_EQ(box.selLength(), 6);
}

TEST(TextBoxSelectionTest, SelTextInsertsAtTheCaretOrReplacesTheSelection) {
    TextBox box;
    box.Text("abcdef");
    box.SelStart(2);
    box.SelText("XY");
    EXPECT_EQ(box.Text(), "abXYcdef");
    EXPECT_EQ(box.selStart(), 4);
    EXPECT_EQ(box.selLength(), 0);

    box.SelStart(0);
    box.SelLength(3);
    box.SelText("");
    EXPECT_EQ(box.Text(), "Ycdef");

    box.SelStart(1);
    box.SelLength(4);
    box.SelText("Z");
    EXPECT_EQ(box.Text(), "YZ");
}

TEST(TextBoxSelectionTest, CaretAndLengthStayInsideTheText) {
    TextBox box;
    box.Text("abc");
    box.SelStart(10);
    EXPECT_EQ(box.selStart(), 3);
    box.SelText("d");
    EXPECT_EQ(box.Text(), "abcd");
    box.SelStart(-4);
    EXPECT_EQ(box.selStart(), 0);
    box.SelStart(2);
    box.SelLength(100);
    EXPECT_EQ(box.selLength(), 2);
    box.SelLength(-1);
    EXPECT_EQ(box.selLength(), 0);
}

TEST(TextBoxSelectionTest, SettingTheTextEmptiesTheSelectionAndAppendKeepsIt) {
    TextBox box;
    box.Text("abc");
    box.SelStart(1);
    box.SelLength(1);
    box.append("def");
    box.append("");
    box.append("gh");
    EXPECT_EQ(box.Text(), "abcdefgh");
    EXPECT_EQ(box.selStart(), 1);
    EXPECT_EQ(box.selLength(), 1);
    box.Text("");
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 0);
}

TEST(TextBoxFileTest, LoadsWindows1252AsUtf8) {
    TempFolder folder;
    const fs::path file = fs::path(folder.path()) / "mod\xC3\xA8le.mod";
    writeBytes(file, "/* mod\xE8le */\r\n\t//ICI\r\n");
    TextBox box;
    box.Text("ancien");
    box.SelStart(3);
    ASSERT_FALSE(box.FileName(file.string()).failed());
    EXPECT_EQ(box.Text(), "/* mod\xC3\xA8le */\r\n\t//ICI\r\n");
    EXPECT_EQ(box.selStart(), 0);
}

TEST(TextBoxFileTest, AFileThatCannotBeReadIsReportedAndTheTextKept) {
    TempFolder folder;
    TextBox box;
    box.Text("ancien");
    const std::string missing = folder.path() + "/absent.mod";
    const SystemError status = box.FileName(missing);
    EXPECT_EQ(status.number, ENOENT);
    EXPECT_EQ(status.path, missing);
    EXPECT_EQ(box.FileName(folder.path()).number, EISDIR);  // a folder opens but cannot be read
    EXPECT_EQ(box.Text(), "ancien");
}

TEST(TextBoxFileTest, SavesWindows1252AndEveryByteSurvivesARoundTrip) {
    TempFolder folder;
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const fs::path in = fs::path(folder.path()) / "in.txt";
    const fs::path out = fs::path(folder.path()) / "out.c";
    writeBytes(in, allBytes);
    TextBox box;
    ASSERT_FALSE(box.FileName(in.string()).failed());
    ASSERT_FALSE(box.SaveFile(out.string(), TextBox::PlainText).failed());
    EXPECT_EQ(readBytes(out), allBytes);

    box.Text("\xE2\x82\xAC \xE2\x98\x83 \xC3\xA8");  // euro sign, snowman, e grave
    ASSERT_FALSE(box.SaveFile(out.string(), TextBox::PlainText).failed());
    EXPECT_EQ(readBytes(out), "\x80 ? \xE8");
}

TEST(TextBoxFileTest, SavingReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const fs::path out = fs::path(folder.path()) / "AfficheurCarac.c";
    writeBytes(out, std::string(100000, 'x'));
    TextBox box;
    box.Text("court");
    ASSERT_FALSE(box.SaveFile(out.string(), TextBox::PlainText).failed());
    EXPECT_EQ(readBytes(out), "court");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(TextBoxFileTest, AFailedSaveIsReportedAndWritesNothing) {
    TempFolder folder;
    TextBox box;
    box.Text("texte");
    // A folder in the way cannot be replaced by a file, even by root.
    const fs::path blocked = fs::path(folder.path()) / "AfficheurCarac.c";
    fs::create_directory(blocked);
    const SystemError status = box.SaveFile(blocked.string(), TextBox::PlainText);
    EXPECT_EQ(status.number, EISDIR);
    EXPECT_EQ(status.path, blocked.string());
    EXPECT_TRUE(fs::is_directory(blocked));

    EXPECT_TRUE(box.SaveFile(folder.path() + "/absent/out.c", TextBox::PlainText).failed());

    const fs::path rich = fs::path(folder.path()) / "rich.rtf";
    EXPECT_TRUE(box.SaveFile(rich.string(), 0).failed());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}
