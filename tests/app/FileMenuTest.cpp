#include <QFile>
#include <QFileInfo>

#include "AppTestSupport.h"

using FileMenuTest = WindowTest;

namespace {

const QByteArray kThree =
    "[Caract\xE8res]\r\nNombre=3\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
    "Caract\xE8re2=4;10;17;17;31;17;17;0.5\r\nCaract\xE8re3=0;0;0;0;0;0;16;2\r\n";

}  // namespace

class LoadTest : public FileMenuTest {
  protected:
    // Loads `bytes` as a pupil's file chosen in the open dialog.
    void load(const QByteArray& bytes) {
        const QString path = folder.file("Travail/eleve.car");
        writeBytes(path, bytes);
        seam.openAnswers.push_back(path);
        triggerMenu("mnucharger");
    }
};

TEST_F(LoadTest, BringsTheSequenceInAndShowsItsFirstCharacter) {
    load(kThree);
    EXPECT_EQ(workingBytes(), kThree);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), std::vector<int>({31, 1, 1, 15, 1, 1, 1}));
    EXPECT_EQ(text("TDurée"), "1.5");
    EXPECT_TRUE(seam.messages.empty());
    ASSERT_EQ(seam.dialogs.size(), 1u);
    EXPECT_EQ(seam.dialogs[0].DialogTitle, "Enregistrement de la séquence.");
    EXPECT_EQ(seam.dialogs[0].Filter, "Séquence de caractère (*.car)|*.car");
    EXPECT_EQ(seam.dialogs[0].DefaultExt, ".car");
    EXPECT_EQ(QFileInfo(seam.dialogs[0].InitDir), QFileInfo(folder.file("Travail")));
}

TEST_F(LoadTest, ACancelledDialogSaysThereIsNoFile) {
    click("CBCaracOk");
    const QByteArray before = workingBytes();
    triggerMenu("mnucharger");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt, "Pas de fichier à ouvrir !!!");
    EXPECT_EQ(seam.messages[0].title, "Attention");
    EXPECT_EQ(seam.messages[0].style, 48);
    EXPECT_EQ(workingBytes(), before);
    EXPECT_EQ(text("LNumCaractère"), "2");
}

TEST_F(LoadTest, AFileThatCannotBeCopiedIsNamedAndChangesNothing) {
    click("CBCaracOk");
    const QByteArray before = workingBytes();
    seam.openAnswers.push_back(folder.file("Travail/absent.car"));
    triggerMenu("mnucharger");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains(folder.file("Travail/absent.car")));
    EXPECT_TRUE(seam.messages[0].prompt.contains("n'existe pas"));
    EXPECT_EQ(workingBytes(), before);
    EXPECT_EQ(text("LNumCaractère"), "2");
}

TEST_F(FileMenuTest, SaveRightAfterLoadGivesTheSameBytes) {
    writeBytes(folder.file("Travail/a.car"), kThree);
    seam.openAnswers.push_back(folder.file("Travail/a.car"));
    triggerMenu("mnucharger");
    seam.saveAnswers.push_back(folder.file("Travail/b.car"));
    triggerMenu("mnusauver");
    EXPECT_EQ(readBytes(folder.file("Travail/b.car")), kThree);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(seam.dialogs.size(), 2u);
}

TEST_F(FileMenuTest, SaveKeepsEditingTheSameSequence) {
    draw({1, 2, 3, 4, 5, 6, 7}, "1");
    click("CBCaracOk");
    clickDot(0, 0);
    seam.saveAnswers.push_back(folder.file("Travail/x.car"));
    triggerMenu("mnusauver");
    EXPECT_EQ(readBytes(folder.file("Travail/x.car")), workingBytes());
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(rows(), std::vector<int>({1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(FileMenuTest, ACancelledSaveShowsNothing) {
    click("CBCaracOk");
    triggerMenu("mnusauver");
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(QDir(folder.file("Travail")).isEmpty());
}

TEST_F(FileMenuTest, SaveWithNothingValidatedOrNowhereToWriteExplainsWhy) {
    seam.saveAnswers.push_back(folder.file("Travail/vide.car"));
    triggerMenu("mnusauver");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains("rien à sauver"));
    EXPECT_FALSE(QFile::exists(folder.file("Travail/vide.car")));

    click("CBCaracOk");
    seam.saveAnswers.push_back(folder.file("absent/x.car"));
    triggerMenu("mnusauver");
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_TRUE(seam.messages[1].prompt.contains(folder.file("absent/x.car")));
    EXPECT_TRUE(seam.messages[1].prompt.contains("n'a pas pu être sauvée"));
}

TEST_F(FileMenuTest, NewStartsAnEmptySequence) {
    draw({1, 0, 0, 0, 0, 0, 0}, "1");
    click("CBCaracOk");
    click("CBCaracOk");
    triggerMenu("mnunouveau");
    EXPECT_FALSE(QFile::exists(window->workingFile()));
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
    EXPECT_EQ(text("TDurée"), "0.5");
}
