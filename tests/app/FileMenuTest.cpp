#include <QFileInfo>

#include "AppTestSupport.h"

using FileMenuTest = WindowTest;

namespace {

const std::string kThree =
    "[Caract\xE8res]\r\nNombre=3\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
    "Caract\xE8re2=4;10;17;17;31;17;17;0.5\r\nCaract\xE8re3=0;0;0;0;0;0;16;2\r\n";

}  // namespace

TEST_F(FileMenuTest, LoadShowsTheFirstCharacterAndSaveGivesTheSameBytes) {
    writeBytes(folder.file("Travail/a.car"), kThree);
    seam.openAnswers.push_back(file("Travail/a.car"));
    triggerMenu("mnucharger");
    EXPECT_EQ(workingBytes(), kThree);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), std::vector<int>({31, 1, 1, 15, 1, 1, 1}));
    EXPECT_EQ(text("TDurée"), "1.5");
    ASSERT_EQ(seam.dialogs.size(), 1u);
    EXPECT_EQ(seam.dialogs[0].DialogTitle, "Enregistrement de la séquence.");
    EXPECT_EQ(seam.dialogs[0].Filter, "Séquence de caractère (*.car)|*.car");
    EXPECT_EQ(seam.dialogs[0].DefaultExt, ".car");
    EXPECT_EQ(QFileInfo(seam.dialogs[0].InitDir), QFileInfo(file("Travail")));

    seam.saveAnswers.push_back(file("Travail/b.car"));
    triggerMenu("mnusauver");
    EXPECT_EQ(readBytes(folder.file("Travail/b.car")), kThree);
    triggerMenu("mnusauver");  // cancelled
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(FileMenuTest, ALoadThatFailsSaysWhyAndChangesNothing) {
    click("CBCaracOk");
    const std::string before = workingBytes();
    triggerMenu("mnucharger");  // cancelled
    seam.openAnswers.push_back(file("Travail/absent.car"));
    triggerMenu("mnucharger");
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[0].prompt, "Pas de fichier à ouvrir !!!");
    EXPECT_EQ(seam.messages[0].title, "Attention");
    EXPECT_EQ(seam.messages[0].style, 48);
    EXPECT_TRUE(seam.messages[1].prompt.contains(file("Travail/absent.car")));
    EXPECT_TRUE(seam.messages[1].prompt.contains("n'existe pas"));
    EXPECT_EQ(workingBytes(), before);
    EXPECT_EQ(text("LNumCaractère"), "2");
}

TEST_F(FileMenuTest, SaveWithNothingValidatedOrNowhereToWriteExplainsWhy) {
    seam.saveAnswers.push_back(file("Travail/vide.car"));
    triggerMenu("mnusauver");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains("rien à sauver"));
    EXPECT_FALSE(exists(folder.file("Travail/vide.car")));

    click("CBCaracOk");
    seam.saveAnswers.push_back(file("absent/x.car"));
    triggerMenu("mnusauver");
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_TRUE(seam.messages[1].prompt.contains(file("absent/x.car")));
    EXPECT_TRUE(seam.messages[1].prompt.contains("n'a pas pu être sauvée"));
}

TEST_F(FileMenuTest, NewStartsAnEmptySequence) {
    draw({1, 0, 0, 0, 0, 0, 0}, "1");
    click("CBCaracOk");
    click("CBCaracOk");
    triggerMenu("mnunouveau");
    EXPECT_FALSE(exists(folder.file("MessageTemporaire.car")));
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
    EXPECT_EQ(text("TDurée"), "0.5");
}
