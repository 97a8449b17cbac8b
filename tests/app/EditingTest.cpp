#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "AppTestSupport.h"

using EditingTest = WindowTest;

namespace {

const std::vector<int> kF = {31, 1, 1, 15, 1, 1, 1};
const std::vector<int> kBlank(7, 0);

QColor labelColour(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

TEST_F(EditingTest, ThreeValidationsFromAFreshStartAppendThreeRecords) {
    draw(kF, "1,5");
    click("CBCaracOk");
    draw({4, 10, 17, 17, 31, 17, 17}, "0,75");
    click("CBCaracOk");
    draw({0, 0, 0, 0, 0, 0, 16}, " 0.5 ");
    click("CBCaracOk");

    EXPECT_EQ(workingBytes(),
              "[Caract\xE8res]\r\nNombre=3\r\n"
              "Caract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
              "Caract\xE8re2=4;10;17;17;31;17;17;0.75\r\n"
              "Caract\xE8re3=0;0;0;0;0;0;16;0.5\r\n");
    EXPECT_EQ(window->characterCount(), 4);
    EXPECT_EQ(window->currentNumber(), 4);
    EXPECT_EQ(text("LNumCaractère"), "4");
    EXPECT_EQ(rows(), kBlank);
    EXPECT_EQ(text("TDurée"), "0.5");
    EXPECT_EQ(window->validationFlag(), 1);
}

TEST_F(EditingTest, TheDurationIsStoredWithItsFirstCommaTurnedIntoAPoint) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"0,75", "0.75"}, {"  1,5  ", "1.5"}, {"1,5,2", "1.5,2"},
                 {"", ""},         {"\t2 ", "\t2"},    {"abc", "abc"}};
    for (const auto& c : cases) {
        window->MiseAJourCaractère("1;0;0;0;0;0;0;0.5");
        setText("TDurée", QString::fromUtf8(c.typed));
        click("CBCaracOk");
        click("CBPrécédent");
        EXPECT_EQ(text("TDurée"), QString::fromUtf8(c.stored)) << c.typed;
        click("CBSuivant");
    }
}

TEST_F(EditingTest, ValidatingOntoAStoredPositionShowsThatRecord) {
    writeBytes(folder.file("Travail/trois.car"),
               "[Caract\xE8res]\r\nNombre=3\r\nCaract\xE8re1=1;1;1;1;1;1;1;1\r\n"
               "Caract\xE8re2=31;1;1;15;1;1;1;1.5\r\nCaract\xE8re3=2;2;2;2;2;2;2;2\r\n");
    seam.openAnswers.push_back(folder.file("Travail/trois.car"));
    triggerMenu("mnucharger");
    click("CBCaracOk");
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(rows(), kF);
    EXPECT_EQ(text("TDurée"), "1.5");
}

TEST_F(EditingTest, PreviousAtOneAndNextAtTheCountBeepAndChangeNothing) {
    click("CBPrécédent");
    EXPECT_EQ(seam.beeps, 1);
    click("CBSuivant");
    EXPECT_EQ(seam.beeps, 2);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(window->currentNumber(), 1);
    EXPECT_EQ(text("TDurée"), "0.5");

    draw(kF, "1");
    click("CBCaracOk");
    clickDot(0, 0);
    click("CBSuivant");
    EXPECT_EQ(seam.beeps, 3);
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(window->currentNumber(), 2);
    EXPECT_EQ(rows(), std::vector<int>({1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EditingTest, PreviousThenNextOntoTheOpenPositionShowsItEmpty) {
    draw(kF, "1");
    click("CBCaracOk");
    click("CBPrécédent");
    EXPECT_EQ(rows(), kF);
    EXPECT_EQ(text("TDurée"), "1");
    click("CBSuivant");
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(rows(), kBlank);
    EXPECT_EQ(text("TDurée"), "");
    EXPECT_EQ(seam.beeps, 0);
}

TEST_F(EditingTest, EraseWritesNothingAndMovingBackBringsTheRecordBack) {
    draw(kF, "1");
    click("CBCaracOk");
    click("CBPrécédent");
    const QByteArray before = workingBytes();
    click("Command1");
    EXPECT_EQ(rows(), kBlank);
    EXPECT_EQ(text("TDurée"), "0");
    EXPECT_EQ(workingBytes(), before);
    click("CBSuivant");
    click("CBPrécédent");
    EXPECT_EQ(rows(), kF);
    EXPECT_EQ(text("TDurée"), "1");
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
    EXPECT_TRUE(workingBytes().contains("Caract\xE8re1=0;0;0;0;0;0;0;2\r\n"));
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

// Editing character 2 of 5 changes neither "Nombre" nor the count.
TEST_F(EditingTest, NombreCountsStoredCharactersOnly) {
    for (int i = 1; i <= 5; ++i) {
        draw({i, 0, 0, 0, 0, 0, 0}, "1");
        click("CBCaracOk");
    }
    for (int i = 0; i < 4; ++i) {
        click("CBPrécédent");
    }
    EXPECT_EQ(text("LNumCaractère"), "2");
    draw(kF, "2");
    click("CBCaracOk");
    EXPECT_TRUE(workingBytes().contains("Nombre=5\r\n"));
    EXPECT_TRUE(workingBytes().contains("Caract\xE8re2=31;1;1;15;1;1;1;2\r\n"));
    EXPECT_EQ(window->characterCount(), 6);
    EXPECT_EQ(text("LNumCaractère"), "3");
    EXPECT_EQ(rows(), std::vector<int>({3, 0, 0, 0, 0, 0, 0}));
}

// After a preview tick the current number is already the next one; when the preview stops,
// the buttons act on the character shown.
TEST_F(EditingTest, ButtonsActOnTheNumberShown) {
    for (int i = 0; i < 3; ++i) {
        draw({i + 1, 0, 0, 0, 0, 0, 0}, "5");
        click("CBCaracOk");
    }
    for (int i = 0; i < 3; ++i) {
        click("CBPrécédent");
    }
    const auto playOneTick = [this] {
        setText("TDurée", "0,01");
        click("CBDéfiler");
        EXPECT_TRUE(QTest::qWaitFor([this] { return window->currentNumber() == 2; }, 2000));
        click("CBDéfiler");
        EXPECT_EQ(text("LNumCaractère"), "1");
    };
    playOneTick();
    click("CBSuivant");
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(rows(), std::vector<int>({2, 0, 0, 0, 0, 0, 0}));
    click("CBPrécédent");
    EXPECT_EQ(text("LNumCaractère"), "1");

    playOneTick();
    draw(kF, "4");
    click("CBCaracOk");
    EXPECT_TRUE(workingBytes().contains("Caract\xE8re1=31;1;1;15;1;1;1;4\r\n"));
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_EQ(window->currentNumber(), 2);
    EXPECT_EQ(rows(), std::vector<int>({2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(seam.beeps, 0);
}

TEST_F(EditingTest, NumbersStopAtTheLargest16BitValue) {
    writeBytes(folder.file("Travail/grand.car"), "[Caract\xE8res]\r\nNombre=32767\r\n");
    seam.openAnswers.push_back(folder.file("Travail/grand.car"));
    triggerMenu("mnucharger");
    EXPECT_EQ(window->characterCount(), 32767);
    window->MiseAJourCaractère("1;0;0;0;0;0;0;1");
    // Walk to the end through the label, as a pupil can after a preview.
    for (int i = 0; i < 3; ++i) {
        click("CBSuivant");
    }
    const QByteArray before = workingBytes();
    auto* label = control<QLabel>("LNumCaractère");
    label->setText("32767");
    click("CBSuivant");
    EXPECT_EQ(seam.beeps, 1);
    click("CBCaracOk");
    EXPECT_EQ(seam.beeps, 2);
    EXPECT_EQ(workingBytes(), before);
    EXPECT_EQ(window->characterCount(), 32767);
    EXPECT_EQ(label->text(), "32767");
}

TEST_F(EditingTest, TheWorkingFileStaysOnDiskWhenTheWindowCloses) {
    draw(kF, "1");
    click("CBCaracOk");
    window->close();
    window.reset();
    EXPECT_TRUE(readBytes(folder.file("MessageTemporaire.car")).contains("Nombre=1"));
}
