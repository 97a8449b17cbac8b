#include "firmware/Generation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string letterA = "4;10;17;17;31;17;17;0.5";
const std::string letterF = "31;1;1;15;1;1;1;1.5";

GenerationResult generate(const ProgramFolder& folder, Role role, const std::string& retard = "") {
    TextBox box;
    return generateSource(box, role, retard, folder.path());
}

// The saved source compared with a file of the test data folder, byte for byte.
void expectSource(const ProgramFolder& folder, const std::string& expectedName) {
    EXPECT_EQ(readBytes(folder.sourcePath()), testData(expectedName)) << expectedName;
}

}  // namespace

TEST(GenerationTest, MasterBlockReplacesNothingAndStandsBeforeTheMarker) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("1", {letterA});
    const GenerationResult run = generate(folder, Role::Maitre);
    EXPECT_EQ(run.kind, GenerationResult::Ok);
    EXPECT_EQ(run.file.path, folder.sourcePath());
    expectSource(folder, "maitre_exemple.c");
}

TEST(GenerationTest, TwoCharactersStandInOrderEachFollowedByOneSpace) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("2", {letterA, letterF});
    generate(folder, Role::Maitre);
    expectSource(folder, "maitre_deux.c");
}

TEST(GenerationTest, SlaveGetsItsDelayLineAndSlaveBlocks) {
    ProgramFolder folder;
    folder.installTemplate(Role::Esclave, "esclave.mod");
    folder.writeSequence("2", {letterA, letterF});
    EXPECT_EQ(generate(folder, Role::Esclave, "3").kind, GenerationResult::Ok);
    expectSource(folder, "esclave_retard3.c");
}

TEST(GenerationTest, AnEmptyDelayLeavesTwoSpacesAfterCarRet) {
    ProgramFolder folder;
    folder.installTemplate(Role::Esclave, "esclave.mod");
    folder.writeSequence("1", {letterA});
    generate(folder, Role::Esclave, "");
    expectSource(folder, "esclave_retard_vide.c");
}

TEST(GenerationTest, MasterKeepsACarRetLineAndTheAccentedComment) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("1", {letterA});
    generate(folder, Role::Maitre, "7");
    const std::string source = readBytes(folder.sourcePath());
    EXPECT_NE(source.find("\r\n#define CarRet 0\r\n"), std::string::npos);
    EXPECT_NE(source.find("/* Mod\xE8le d'essai : ma\xEEtre */"), std::string::npos);
}

TEST(GenerationTest, AMarkerAtTheVeryStartIsNotFound) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "marqueur_premier.mod");
    folder.writeSequence("1", {letterA});
    generate(folder, Role::Maitre);
    expectSource(folder, "marqueur_premier.mod");
}

TEST(GenerationTest, WithTwoMarkersEveryBlockGoesBeforeTheFirst) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "marqueur_double.mod");
    folder.writeSequence("1", {letterA});
    generate(folder, Role::Maitre);
    expectSource(folder, "marqueur_double.c");
}

TEST(GenerationTest, NoCharactersSaveTheTemplateUnchanged) {
    const struct {
        const char* name;
        bool writeFile;
        const char* nombre;
    } cases[] = {
        {"Nombre 0 with records present", true, "0"},
        {"Nombre empty", true, ""},
        {"Nombre not a number", true, "x"},
        {"Nombre beyond 16 bits", true, "40000"},
        {"negative Nombre", true, "-3"},
        {"no working file", false, ""},
    };
    for (const auto& c : cases) {
        ProgramFolder folder;
        folder.installTemplate(Role::Maitre, "maitre.mod");
        if (c.writeFile) {
            folder.writeSequence(c.nombre, {letterA, letterF});
        }
        const GenerationResult run = generate(folder, Role::Maitre);
        EXPECT_EQ(run.kind, GenerationResult::Ok) << c.name;
        EXPECT_EQ(readBytes(folder.sourcePath()), testData("maitre.mod")) << c.name;
        EXPECT_EQ(run.characterCount, c.nombre == std::string("-3") ? -3 : 0) << c.name;
        EXPECT_FALSE(fs::exists(folder.sequencePath()) && !c.writeFile) << c.name;
    }
}

TEST(GenerationTest, SlaveWithoutWorkingFileStillGetsItsDelay) {
    ProgramFolder folder;
    folder.installTemplate(Role::Esclave, "esclave.mod");
    generate(folder, Role::Esclave, "2");
    std::string expected = testData("esclave.mod");
    expected.replace(expected.find("#define CarRet 0"), 16, "#define CarRet 2 ");
    EXPECT_EQ(readBytes(folder.sourcePath()), expected);
}

TEST(GenerationTest, RecordFieldsAreReadAsLeadingNumbers) {
    const struct {
        const char* record;
        const char* expectedPiece;
    } cases[] = {
        {"0;0;0;0;0;0;0;0.5", "while(T100ms<5){}"},
        {"0;0;0;0;0;0;0;1.25", "while(T100ms<12.5){}"},
        {"0;0;0;0;0;0;0;", "while(T100ms<0){}"},
        {"0;0;0;0;0;0;0;x", "while(T100ms<0){}"},
        {"5;6",
         "ValLigne[0]=5;\r\n\t\tValLigne[1]=0;\r\n\t\tValLigne[2]=0;\r\n\t\tValLigne[3]=0;"
         "\r\n\t\tValLigne[4]=0;\r\n\t\tValLigne[5]=0;\r\n\t\tValLigne[6]=0;"
         "\r\n\t\twhile(T100ms<60){}"},
    };
    for (const auto& c : cases) {
        ProgramFolder folder;
        folder.installTemplate(Role::Maitre, "maitre.mod");
        folder.writeSequence("1", {c.record});
        generate(folder, Role::Maitre);
        EXPECT_NE(readBytes(folder.sourcePath()).find(c.expectedPiece), std::string::npos)
            << c.record;
    }
}

TEST(GenerationTest, AMissingRecordGivesAnEmptyBlock) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("2", {letterA});
    generate(folder, Role::Maitre);
    const std::string source = readBytes(folder.sourcePath());
    EXPECT_NE(source.find("ValLigne[6]=0;\r\n\t\twhile(T100ms<0){}\r\n //ICI"), std::string::npos);
}

TEST(GenerationTest, TheCountIsNombreRoundedHalfToEven) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("2.5", {letterA, letterF, letterA});
    EXPECT_EQ(generate(folder, Role::Maitre).characterCount, 2);
}

TEST(GenerationTest, TheHighestCountIsWalkedWhole) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    std::string noMarker = testData("maitre.mod");
    noMarker.erase(noMarker.find("//ICI"), 5);  // blocks are dropped: quick even at this count
    writeBytes(folder.templatePath(Role::Maitre), noMarker);
    folder.writeSequence("32767", {});
    const GenerationResult run = generate(folder, Role::Maitre);
    EXPECT_EQ(run.characterCount, 32767);
    EXPECT_EQ(readBytes(folder.sourcePath()), noMarker);
}

TEST(GenerationTest, AnUnreadableTemplateIsNamedAndNothingIsSaved) {
    for (const bool templateIsAFolder : {false, true}) {
        ProgramFolder folder;
        if (templateIsAFolder) {
            fs::create_directory(folder.templatePath(Role::Esclave));
        }
        folder.writeSequence("1", {letterA});
        TextBox box;
        box.Text("avant");
        const GenerationResult result = generateSource(box, Role::Esclave, "3", folder.path());
        EXPECT_EQ(result.kind, GenerationResult::TemplateUnreadable);
        EXPECT_EQ(result.file.path, folder.templatePath(Role::Esclave));
        EXPECT_TRUE(result.file.failed());
        EXPECT_FALSE(fs::exists(folder.sourcePath()));
        EXPECT_EQ(box.Text(), "avant");
        EXPECT_EQ(result.characterCount, 1);
    }
}

TEST(GenerationTest, AnUnwritableSourceIsNamedAndNoFileIsWritten) {
    ProgramFolder folder;
    folder.installTemplate(Role::Maitre, "maitre.mod");
    folder.writeSequence("1", {letterA});
    fs::create_directory(folder.sourcePath());  // a folder in the way stops even root
    const auto entriesBefore =
        std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator());
    const GenerationResult run = generate(folder, Role::Maitre);
    EXPECT_EQ(run.kind, GenerationResult::SourceUnwritable);
    EXPECT_EQ(run.file.path, folder.sourcePath());
    EXPECT_EQ(run.file.number, EISDIR);
    EXPECT_TRUE(fs::is_directory(folder.sourcePath()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()),
              entriesBefore);
}
