#include "firmware/Generation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

const std::string letterA = "4;10;17;17;31;17;17;0.5";
const std::string letterF = "31;1;1;15;1;1;1;1.5";

// The program folder with the small templates of the test data.
struct Folder : ProgramFolder {
    Folder() {
        writeBytes(templatePath(Role::Maitre), testData("firmware/maitre.mod"));
        writeBytes(templatePath(Role::Esclave), testData("firmware/esclave.mod"));
    }
    std::string templatePath(Role role) const {
        return file(role == Role::Maitre ? "modèle/AfficheurCaracMaitre.mod"
                                         : "modèle/AfficheurCaracEsclave.mod");
    }
    std::string source() const { return readBytes(file("AfficheurCarac.c")); }
};

GenerationResult generate(const Folder& folder, Role role, const std::string& retard = "") {
    TextBox box;
    return generateSource(box, role, retard, folder.path(), folder.path());
}

TEST(GenerationTest, EachCharacterGoesBeforeTheMarkerInOrder) {
    Folder folder;
    folder.writeSequence("2", {letterA, letterF});
    const GenerationResult master = generate(folder, Role::Maitre, "7");
    EXPECT_EQ(master.kind, GenerationResult::Ok);
    EXPECT_EQ(master.file.path, folder.file("AfficheurCarac.c"));
    EXPECT_EQ(folder.source(), testData("firmware/maitre_deux.c"));  // CarRet left as it is
    generate(folder, Role::Esclave, "3");
    EXPECT_EQ(folder.source(), testData("firmware/esclave_retard3.c"));
}

TEST(GenerationTest, WithoutCharactersTheTemplateIsSavedUnchanged) {
    for (const char* count : {"0", "x", "40000", "-3", "none"}) {
        Folder folder;
        if (count != std::string("none")) {
            folder.writeSequence(count, {letterA, letterF});
        }
        const GenerationResult run = generate(folder, Role::Esclave, "2");
        EXPECT_EQ(run.kind, GenerationResult::Ok) << count;
        std::string expected = testData("firmware/esclave.mod");
        expected.replace(expected.find("#define CarRet 0"), 16, "#define CarRet 2 ");
        EXPECT_EQ(folder.source(), expected) << count;
        EXPECT_EQ(run.characterCount, count == std::string("-3") ? -3 : 0) << count;
    }
}

TEST(GenerationTest, AMissingRecordGivesAnEmptyBlock) {
    Folder folder;
    folder.writeSequence("2", {letterA});
    generate(folder, Role::Maitre);
    EXPECT_NE(folder.source().find("ValLigne[6]=0;\r\n\t\twhile(T100ms<0){}\r\n //ICI"),
              std::string::npos);
}

TEST(GenerationTest, TheCountIsNombreRoundedAndWalkedWhole) {
    Folder folder;
    folder.writeSequence("2.5", {letterA, letterF, letterA});  // 2.5 rounds to 2
    EXPECT_EQ(generate(folder, Role::Maitre).characterCount, 2);

    std::string noMarker = testData("firmware/maitre.mod");
    noMarker.erase(noMarker.find("//ICI"), 5);  // blocks are dropped: quick even at this count
    writeBytes(folder.templatePath(Role::Maitre), noMarker);
    folder.writeSequence("32767", {});
    EXPECT_EQ(generate(folder, Role::Maitre).characterCount, 32767);
    EXPECT_EQ(folder.source(), noMarker);
}

TEST(GenerationTest, AFileThatCannotBeUsedIsNamedAndNothingElseChanges) {
    Folder folder;
    folder.writeSequence("1", {letterA});
    fs::remove(folder.templatePath(Role::Esclave));
    TextBox box;
    box.Text("avant");
    const GenerationResult unreadable =
        generateSource(box, Role::Esclave, "3", folder.path(), folder.path());
    EXPECT_EQ(unreadable.kind, GenerationResult::TemplateUnreadable);
    EXPECT_EQ(unreadable.file.path, folder.templatePath(Role::Esclave));
    EXPECT_EQ(unreadable.file.number, ENOENT);
    EXPECT_EQ(unreadable.characterCount, 1);
    EXPECT_EQ(box.Text(), "avant");
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.c")));

    fs::create_directory(folder.file("AfficheurCarac.c"));  // a folder in the way stops even root
    const GenerationResult unwritable = generate(folder, Role::Maitre);
    EXPECT_EQ(unwritable.kind, GenerationResult::SourceUnwritable);
    EXPECT_EQ(unwritable.file.path, folder.file("AfficheurCarac.c"));
    EXPECT_EQ(unwritable.file.number, EISDIR);
}

}  // namespace
