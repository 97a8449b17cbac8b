#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "TestFiles.h"
#include "firmware/BuildOutputView.h"
#include "firmware/DownloadOutcome.h"
#include "firmware/Generation.h"
#include "firmware/PlacerTexte.h"

namespace {

const std::string letterA = "4;10;17;17;31;17;17;0.5", letterF = "31;1;1;15;1;1;1;1.5";
// A template whose Windows-1252 letter and CR LF come through unchanged.
const std::string kTemplate = "/* Mod\xE8le */\r\n#define CarRet 0\r\n{\r\n\t//ICI\r\n}\r\n";

struct Folder : ProgramFolder {
    Folder() {
        for (const Role role : {Role::Maitre, Role::Esclave}) {
            writeBytes(templatePath(role), kTemplate);
        }
    }
    std::string templatePath(Role role) const {
        return file(role == Role::Maitre ? "modèle/AfficheurCaracMaitre.mod"
                                         : "modèle/AfficheurCaracEsclave.mod");
    }
    GenerationResult generate(Role role) const {
        TextBox box;
        return generateSource(box, role, "3", path(), path());
    }
};

TEST(CharacterBlockTest, EachRoleHasItsShape) {
    const std::string rows =
        "\r\n\t\tValLigne[0]=4;\r\n\t\tValLigne[1]=10;\r\n\t\tValLigne[2]=17;\r\n\t\tValLigne[3]="
        "17;"
        "\r\n\t\tValLigne[4]=31;\r\n\t\tValLigne[5]=17;\r\n\t\tValLigne[6]=0;";
    EXPECT_EQ(
        characterBlock(Role::Maitre, "4;10;17;17;31;17;;1.25"),
        "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" + rows + "\r\n\t\twhile(T100ms<12.5){}\r\n");
    EXPECT_EQ(characterBlock(Role::Esclave, "4;10;17;17;31;17;;1.25"),
              "\r\n\r\n\t\tT100ms=0;" + rows + "\r\n\t\twhile (T100ms < tempo){}");
}

// "Nombre" 3.5 rounds to 4: the fourth record is missing and gives an empty block.
TEST(GenerationTest, EachCharacterGoesBeforeTheMarkerInOrder) {
    for (const Role role : {Role::Maitre, Role::Esclave}) {
        Folder folder;
        folder.writeSequence("3.5", {letterA, letterF, letterA});
        const GenerationResult run = folder.generate(role);
        EXPECT_EQ(std::tuple(run.kind, run.file.path, run.characterCount),
                  std::tuple(GenerationResult::Ok, folder.file("AfficheurCarac.c"), 4));
        std::string expected = kTemplate, blocks;
        for (const std::string& record : {letterA, letterF, letterA, std::string()}) {
            blocks += characterBlock(role, record) + " ";
        }
        expected.insert(expected.find("//ICI"), blocks);
        if (role == Role::Esclave) {
            expected.replace(expected.find("#define CarRet 0"), 16, "#define CarRet 3 ");
        }
        EXPECT_EQ(readBytes(folder.file("AfficheurCarac.c")), expected);
    }
}

// Without a marker the blocks are dropped, which keeps walking the largest count quick.
TEST(GenerationTest, TheLargestCountIsWalkedToItsEnd) {
    Folder folder;
    std::string expected = kTemplate;
    expected.erase(expected.find("//ICI"), 5);
    writeBytes(folder.templatePath(Role::Maitre), expected);
    folder.writeSequence("32767", {letterA});
    EXPECT_EQ(folder.generate(Role::Maitre).characterCount, 32767);
    EXPECT_EQ(readBytes(folder.file("AfficheurCarac.c")), expected);
}

TEST(GenerationTest, AFileThatCannotBeUsedIsNamedAndNothingElseChanges) {
    Folder folder;
    std::filesystem::remove(folder.templatePath(Role::Esclave));
    TextBox box;
    box.Text("avant");
    const GenerationResult unreadable =
        generateSource(box, Role::Esclave, "3", folder.path(), folder.path());
    EXPECT_EQ(std::tuple(unreadable.kind, unreadable.file.path, unreadable.file.number),
              std::tuple(GenerationResult::TemplateUnreadable, folder.templatePath(Role::Esclave),
                         ENOENT));
    EXPECT_EQ(box.Text(), "avant");
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.c")));
    std::filesystem::create_directory(folder.file("AfficheurCarac.c"));  // stops even root
    const GenerationResult unwritable = folder.generate(Role::Maitre);
    EXPECT_EQ(
        std::tuple(unwritable.kind, unwritable.file.path, unwritable.file.number),
        std::tuple(GenerationResult::SourceUnwritable, folder.file("AfficheurCarac.c"), EISDIR));
}

TEST(TextBoxTest, FindFollowsTheWordAndCaseRules) {
    constexpr int kExact = TextBox::WholeWord | TextBox::MatchCase;
    // Text, word, start, options, where it is found.
    const std::tuple<const char*, const char*, int32_t, int, int32_t> cases[] = {
        {"a;//ICI;", "//ICI", 0, kExact, 2},
        {"a //ICI_ 9//ICI //ICIx", "//ICI", 0, kExact, -1},  // letters, digits, "_" touch it
        {"x//ICI //ICI", "//ICI", 0, kExact, 7},
        {"#define CarRet 00", "#define CarRet 0", 0, kExact, -1},
        {"\xC3\xA9//ICI //ICI\xC5\x93", "//ICI", 0, kExact, -1},  // é and œ are letters
        {"\xC2\xAB//ICI\xC2\xBB", "//ICI", 0, kExact, 2},         // « and » are not
        {"a //ici", "//ICI", 0, kExact, -1},
        {"a //ici", "//ICI", 0, TextBox::WholeWord, 2},
        {"\xC3\x89word", "\xC3\xA9word", 0, 0, -1},  // only ASCII letters fold
        {"//ICI //ICI", "//ICI", 1, kExact, 6},
        {"abc", "c", 3, 0, -1},
        {"abc", "a", -1, 0, -1},
        {"abc", "", 0, 0, -1},
    };
    for (const auto& [text, what, start, options, found] : cases) {
        TextBox box;
        box.Text(text);
        EXPECT_EQ(box.Find(what, start, options), found) << text << " / " << what << " " << start;
    }
}

TEST(TextBoxTest, PlacerTexteInsertsOrReplacesTheFirstWholeWord) {
    // Text, word, what to place, whether it replaces the word, start, the text then.
    const std::tuple<const char*, const char*, const char*, bool, int32_t, const char*> cases[] = {
        {"a //ICIx //ICI //ICI", "//ICI", "B", false, 1, "a //ICIx B //ICI //ICI"},
        {"//ICI\r\n", "//ICI", "B", false, 1, "//ICI\r\n"},
        {"//ICI", "//ICI", "B", false, 0, "B //ICI"},
        {"x\r\n#define CarRet 0\r\n", "#define CarRet 0", "#define CarRet ", true, 1,
         "x\r\n#define CarRet  \r\n"},
    };
    for (auto [text, lookFor, toPlace, replace, start, expected] : cases) {
        TextBox box;
        box.Text(text);
        PlacerTexte(box, lookFor, toPlace, replace, start);
        EXPECT_EQ(box.Text(), expected) << text;
    }
}

// Both words are looked for from the second character, in any case, inside longer words.
TEST(DownloadOutcomeTest, TheToolsWordsDecideTheOutcome) {
    using enum DownloadOutcome;
    // Output, whether "make all" succeeded, how "make program" went.
    const std::tuple<const char*, bool, DownloadOutcome> cases[] = {
        {"Erreurs : AUCUNE\r\n", true, Succes},
        {"xaucunex", true, Succes},
        {"Aucune erreur", false, Succes},
        {"", false, Succes},
        {"avrdude: NOT RESPONDING; error", false, ErreurCommunication},
        {"avrdude OS error: cannot open port", false, ErreurIndefinie},
        {"2 errors", false, ErreurIndefinie},
        {"error at the start", false, Succes}};
    for (const auto& [output, compiled, sent] : cases) {
        TextBox box;
        box.Text(output);
        EXPECT_EQ(compileSucceeded(box), compiled) << output;
        EXPECT_EQ(downloadOutcome(box), sent) << output;
    }
    TextBox box;
    box.Text("avrdude: programmer is not responding; error");
    downloadOutcome(box);
    EXPECT_EQ(std::pair(box.selStart(), box.selLength()), std::pair(23, 14));  // stays selected
}

TEST(BuildOutputViewTest, TheExcerptIsTheHeadOfTheOutputAndTheProgressAvrdudesLastBar) {
    // Output, excerpt, whether it was cut.
    const std::tuple<std::string, std::string, bool> excerpts[] = {
        {"a.c:1: error: x\na.c:2: note: y", "a.c:1: error: x\na.c:2: note: y", false},
        {std::string(119, 'x') + "é", std::string(119, 'x') + "…", true},  // é across byte 120
        {std::string(25, '\n') + "z", std::string(20, '\n'), true},
    };
    for (const auto& [output, excerpt, cut] : excerpts) {
        bool said = !cut;
        EXPECT_EQ(compileErrorExcerpt(output, said), excerpt) << output;
        EXPECT_EQ(said, cut) << output;
    }
    const std::string written = "Writing | " + std::string(50, '#') + " | 100% 0.19s\n\n";
    const std::pair<std::string, std::string> progresses[] = {
        {"avrdude: AVR device initialized\n", ""},
        {"Writing | ####################", "écriture 40 %"},
        {written + "avrdude: 892 bytes of flash written\n", "écriture 100 %"},
        {written + "Reading | #####", "vérification 10 %"},
    };
    for (const auto& [output, progress] : progresses) {
        EXPECT_EQ(sendingProgress(output), progress) << output;
    }
}

}  // namespace
