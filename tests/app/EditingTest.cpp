#include <QDir>
#include <QLabel>
#include <QRadioButton>

#include "AppTestSupport.h"

using EditingTest = WindowTest;

namespace {

const std::vector<int> kF = {31, 1, 1, 15, 1, 1, 1};
const std::vector<int> kBlank(7, 0);

QColor labelColour(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

// The buttons reach the sequence and show what it answers.
TEST_F(EditingTest, TheButtonsStoreAndShowTheCharacters) {
    draw(kF, "1,5");
    click("CBCaracOk");
    EXPECT_EQ(workingBytes(),
              "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n");
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(rows(), kBlank);
    EXPECT_EQ(text("TDurée"), "0.5");
    click("CBPrécédent");
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), kF);
    EXPECT_EQ(text("TDurée"), "1.5");
    const std::string before = workingBytes();
    click("Command1");
    EXPECT_EQ(rows(), kBlank);
    EXPECT_EQ(text("TDurée"), "0");
    EXPECT_EQ(workingBytes(), before);
    click("CBSuivant");
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(text("TDurée"), "");
    EXPECT_EQ(seam.beeps, 0);
    click("CBSuivant");
    EXPECT_EQ(seam.beeps, 1);
    EXPECT_EQ(text("LNumCaractère"), "2");
}

TEST_F(EditingTest, AValidationThatCannotBeStoredSaysWhyAndKeepsTheDrawing) {
    QDir().mkdir(window->workingFile());
    draw(kF, "1,5");
    click("CBCaracOk");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].title, "Attention");
    EXPECT_EQ(seam.messages[0].style, 48);
    EXPECT_TRUE(seam.messages[0].prompt.contains(window->workingFile()));
    EXPECT_TRUE(seam.messages[0].prompt.contains("c'est un dossier et non un fichier"));
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), kF);
    EXPECT_EQ(text("TDurée"), "1,5");
    EXPECT_EQ(seam.beeps, 0);
}

TEST_F(EditingTest, TheNumberTurnsRedWithAWarningAbove28) {
    auto* label = control<QLabel>("LNumCaractère");
    for (int i = 1; i <= 28; ++i) {
        click("CBCaracOk");
    }
    EXPECT_EQ(text("LNumCaractère"), "29");
    EXPECT_EQ(labelColour(label), QColor(255, 0, 0));
    EXPECT_EQ(text("TTropDeCar"), "28 caractères MAX !!!");
    click("CBCaracOk");  // still works past the limit
    EXPECT_EQ(text("LNumCaractère"), "30");
    click("CBPrécédent");
    click("CBPrécédent");
    EXPECT_EQ(text("LNumCaractère"), "28");
    EXPECT_EQ(labelColour(label), QColor(192, 0, 192));
    EXPECT_EQ(text("TTropDeCar"), "");
}

TEST_F(EditingTest, TheDelayBoxShowsForTheSlaveOnCharacterOneOnly) {
    control<QRadioButton>("MaitreEsclave1")->click();
    EXPECT_TRUE(control("LRetard")->isVisible());
    EXPECT_TRUE(control("TRetard")->isVisible());
    EXPECT_FALSE(control("TDurée")->isVisible());
    EXPECT_FALSE(control("LDurée")->isVisible());
    setText("TDurée", "2");
    setText("TRetard", "3");
    click("CBCaracOk");  // the hidden duration is still stored; the delay never is
    EXPECT_FALSE(control("LRetard")->isVisible());
    EXPECT_FALSE(control("TRetard")->isVisible());
    EXPECT_NE(workingBytes().find("Caract\xE8re1=0;0;0;0;0;0;0;2\r\n"), std::string::npos);
    click("CBPrécédent");
    EXPECT_TRUE(control("TRetard")->isVisible());
    control<QRadioButton>("MaitreEsclave0")->click();
    EXPECT_FALSE(control("TRetard")->isVisible());
    EXPECT_TRUE(control("TDurée")->isVisible());
    click("CBSuivant");
    control<QRadioButton>("MaitreEsclave1")->click();  // on character 2
    EXPECT_FALSE(control("TRetard")->isVisible());
    EXPECT_FALSE(control("TDurée")->isVisible());
}

TEST_F(EditingTest, TheWorkingFileStaysOnDiskWhenTheWindowCloses) {
    draw(kF, "1");
    click("CBCaracOk");
    window->close();
    window.reset();
    EXPECT_NE(workingBytes().find("Nombre=1"), std::string::npos);
}
