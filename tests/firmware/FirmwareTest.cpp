#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "TestFiles.h"
#include "common/Utf8Path.h"
#include "firmware/BuildOutputView.h"
#include "firmware/Generation.h"
#include "firmware/PlacerTexte.h"

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
    GenerationResult generate(Role role, const std::string& working = "") const {
        TextBox box;
        return generateSource(box, role, "3", path(), working.empty() ? path() : file(working));
    }
};

TEST(CharacterBlockTest, EachRoleHasItsShape) {
    const std::string rows =
        "\r\n\t\tValLigne[0]=4;\r\n\t\tValLigne[1]=10;\r\n\t\tValLigne[2]=17;"
        "\r\n\t\tValLigne[3]=17;\r\n\t\tValLigne[4]=31;\r\n\t\tValLigne[5]=17;"
        "\r\n\t\tValLigne[6]=0;";
    EXPECT_EQ(
        characterBlock(Role::Maitre, "4;10;17;17;31;17;;1.25"),
        "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" + rows + "\r\n\t\twhile(T100ms<12.5){}\r\n");
    EXPECT_EQ(characterBlock(Role::Esclave, "4;10;17;17;31;17;;1.25"),
              "\r\n\r\n\t\tT100ms=0;" + rows + "\r\n\t\twhile (T100ms < tempo){}");
}

// "Nombre" 2.5 rounds to 2, half to even: the third record stays out.
TEST(GenerationTest, EachCharacterGoesBeforeTheMarkerInOrder) {
    for (const Role role : {Role::Maitre, Role::Esclave}) {
        Folder folder;
        folder.writeSequence("2.5", {letterA, letterF, letterA});
        const GenerationResult run = folder.generate(role);
        EXPECT_EQ(std::tuple(run.kind, run.file.path, run.characterCount),
                  std::tuple(GenerationResult::Ok, folder.file("AfficheurCarac.c"), 2));
        std::string blocks;
        for (const std::string& record : {letterA, letterF}) {
            blocks += characterBlock(role, record) + " ";
        }
        EXPECT_EQ(readBytes(folder.file("AfficheurCarac.c")),
                  "/* Mod\xE8le */\r\n#define CarRet " +
                      std::string(role == Role::Esclave ? "3 " : "0") + "\r\n{\r\n\t" + blocks +
                      "//ICI\r\n}\r\n");
    }
}

// At its limits: a template without a marker (which drops the blocks), a template that cannot
// be read, a source that cannot be written.
TEST(GenerationTest, AtItsLimitsFilesAreNamedAndNothingElseChanges) {
    Folder folder;
    folder.writeSequence("2", {letterA, letterF});
    std::string noMarker = kTemplate;
    noMarker.erase(noMarker.find("//ICI"), 5);
    writeBytes(folder.templatePath(Role::Maitre), noMarker);
    EXPECT_EQ(folder.generate(Role::Maitre).characterCount, 2);
    EXPECT_EQ(readBytes(folder.file("AfficheurCarac.c")), noMarker);

    std::filesystem::remove(utf8Path(folder.templatePath(Role::Esclave)));
    const GenerationResult unreadable = folder.generate(Role::Esclave);
    EXPECT_EQ(std::tuple(unreadable.kind, unreadable.file.path, unreadable.file.number),
              std::tuple(GenerationResult::TemplateUnreadable, folder.templatePath(Role::Esclave),
                         ENOENT));
    EXPECT_EQ(readBytes(folder.file("AfficheurCarac.c")), noMarker);

    const GenerationResult unwritable = folder.generate(Role::Maitre, "absent");  // even for root
    EXPECT_EQ(std::tuple(unwritable.kind, unwritable.file.path, unwritable.file.number),
              std::tuple(GenerationResult::SourceUnwritable, folder.file("absent/AfficheurCarac.c"),
                         ENOENT));
}

// The marker is found whole and in its case: letters (é, œ too), digits and "_" around it hide it.
TEST(TextBoxTest, PlacerTexteInsertsBeforeOrReplacesTheFirstWholeWord) {
    // Text, whether the word is replaced, where the search starts, the text then.
    const std::tuple<const char*, bool, int32_t, const char*> cases[] = {
        {"a //ici //ICI_ 9//ICI x//ICI //ICIx;//ICI;", false, 0,
         "a //ici //ICI_ 9//ICI x//ICI //ICIx;P //ICI;"},
        {"\xC3\xA9//ICI //ICI\xC5\x93 \xC2\xAB//ICI\xC2\xBB", false, 0,
         "\xC3\xA9//ICI //ICI\xC5\x93 \xC2\xABP //ICI\xC2\xBB"},
        {"//ICI\r\n", false, 1, "//ICI\r\n"},
        {"//ICI", false, 0, "P //ICI"},
        {"x\r\n//ICI\r\n", true, 1, "x\r\nP \r\n"},
    };
    for (auto [text, replace, start, expected] : cases) {
        TextBox box;
        box.Text(text);
        PlacerTexte(box, "//ICI", "P", replace, start);
        EXPECT_EQ(box.Text(), expected) << text;
    }
}

TEST(BuildOutputViewTest, TheExcerptIsTheHeadOfTheOutputAndTheProgressAvrdudesLastBar) {
    bool cut = false;
    EXPECT_EQ(compileErrorExcerpt(std::string(119, 'x') + "é", cut), std::string(119, 'x') + "…");
    EXPECT_TRUE(cut);  // é across byte 120
    const std::string written = "Writing | " + std::string(50, '#') + " | 100% 0.19s\n\n";
    EXPECT_EQ(sendingProgress(written + "avrdude: 892 bytes of flash written\n"), "écriture 100 %");
    EXPECT_EQ(sendingProgress(written + "Reading | #####"), "vérification 10 %");
}
