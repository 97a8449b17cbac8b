#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "AppTestSupport.h"

// Ticks are driven by hand: each tick() is one timeout of Timer1, so no test waits for time.
class PreviewTest : public WindowTest {
  protected:
    QTimer* timer() const { return control<QTimer>("Timer1"); }
    void tick() { QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection); }
    // Ticks n times and returns the label after each tick.
    QStringList play(int n) {
        QStringList shown;
        for (int i = 0; i < n; ++i) {
            tick();
            shown << text("LNumCaractère");
        }
        return shown;
    }
    void validate(int firstRow, const QString& duration) {
        draw({firstRow, 0, 0, 0, 0, 0, 0}, duration);
        click("CBCaracOk");
    }
    void load(int count, const QString& duration) {
        QByteArray bytes = "[Caract\xE8res]\r\nNombre=" + QByteArray::number(count) + "\r\n";
        for (int n = 1; n <= count; ++n) {
            bytes += "Caract\xE8re" + QByteArray::number(n) + "=" + QByteArray::number(n) +
                     ";0;0;0;0;0;0;" + duration.toUtf8() + "\r\n";
        }
        writeBytes(folder.file("Travail/p.car"), bytes);
        seam.openAnswers.push_back(folder.file("Travail/p.car"));
        triggerMenu("mnucharger");
    }
};

TEST_F(PreviewTest, ThreeValidatedCharactersPlayInTurnAndNeverTheOpenOne) {
    for (int i = 1; i <= 3; ++i) {
        validate(i, "1");
    }
    click("CBDéfiler");
    EXPECT_TRUE(window->playing());
    EXPECT_EQ(window->currentNumber(), 1);
    EXPECT_EQ(text("LNumCaractère"), "4");  // the character on display stays until the tick
    EXPECT_EQ(timer()->interval(), 500);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(play(6), QStringList({"1", "2", "3", "1", "2", "3"}));
    EXPECT_EQ(rows(), std::vector<int>({3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PreviewTest, ALoadedSequencePlaysAllItsCharactersAndWraps) {
    load(5, "1");
    click("CBDéfiler");
    EXPECT_EQ(play(7), QStringList({"1", "2", "3", "4", "5", "1", "2"}));
}

TEST_F(PreviewTest, EachCharacterKeepsItsOwnDuration) {
    const char* durations[] = {"0.5", "2", "1.25"};
    for (int i = 0; i < 3; ++i) {
        validate(i + 1, durations[i]);
    }
    click("CBDéfiler");
    for (int expected : {500, 2000, 1250}) {
        tick();
        EXPECT_EQ(timer()->interval(), expected);
        EXPECT_TRUE(timer()->isActive());
    }
}

TEST_F(PreviewTest, StartingWithNothingStoredStallsOnADarkGrid) {
    click("CBDéfiler");
    EXPECT_EQ(timer()->interval(), 500);
    tick();
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
    EXPECT_EQ(text("TDurée"), "");
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(window->playing());
}

TEST_F(PreviewTest, StopEndsOnTheNextCharacterWithTheTimerOff) {
    for (int i = 1; i <= 3; ++i) {
        validate(i, "1");
    }
    click("CBDéfiler");
    play(2);
    EXPECT_EQ(text("LNumCaractère"), "2");
    click("CBDéfiler");
    EXPECT_FALSE(window->playing());
    EXPECT_TRUE(timer()->isActive());  // the timer goes off at its next tick
    tick();
    EXPECT_EQ(text("LNumCaractère"), "3");
    EXPECT_EQ(rows(), std::vector<int>({3, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(window->currentNumber(), 1);
}

TEST_F(PreviewTest, TheWarningAbove28ClearsWhenThePreviewWraps) {
    load(30, "1");
    click("CBDéfiler");
    play(29);
    EXPECT_EQ(text("LNumCaractère"), "29");
    EXPECT_EQ(text("TTropDeCar"), "28 caractères MAX !!!");
    play(2);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(text("TTropDeCar"), "");
    EXPECT_EQ(control<QLabel>("LNumCaractère")->palette().color(QPalette::WindowText),
              QColor(192, 0, 192));
}

TEST_F(PreviewTest, NextDuringThePreviewSkipsAheadFromTheNextCharacter) {
    load(5, "1");
    click("CBDéfiler");
    tick();  // shows 1, next is 2
    click("CBSuivant");
    EXPECT_EQ(text("LNumCaractère"), "3");
    EXPECT_EQ(play(2), QStringList({"3", "4"}));
}

TEST_F(PreviewTest, ATypedCommaDurationStartsThePreview) {
    validate(1, "1");
    setText("TDurée", " 0,25 ");
    click("CBDéfiler");
    EXPECT_EQ(timer()->interval(), 250);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(text("TDurée"), " 0,25 ");  // the box keeps what was typed
}

TEST_F(PreviewTest, LoadClearsTheValidationFlag) {
    validate(9, "1");
    load(5, "1");
    EXPECT_EQ(window->validationFlag(), 0);
    click("CBDéfiler");
    EXPECT_EQ(play(6), QStringList({"1", "2", "3", "4", "5", "1"}));
}

TEST_F(PreviewTest, DurationsOutsideTheTimerRangeAreHeld) {
    const struct {
        const char* duration;
        int interval;
        bool active;
    } cases[] = {{"-1", 0, false},
                 {"0", 0, false},
                 {"1e9", 86400000, true},
                 {"99999", 86400000, true},
                 {"0.0004", 0, false}};
    for (const auto& c : cases) {
        setText("TDurée", c.duration);
        click("CBDéfiler");
        EXPECT_EQ(timer()->interval(), c.interval) << c.duration;
        EXPECT_EQ(timer()->isActive(), c.active) << c.duration;
        click("CBDéfiler");
    }
}

TEST_F(PreviewTest, MissingFacePicturesAreDrawn) {
    auto* button = control<QPushButton>("CBDéfiler");
    ASSERT_TRUE(QFile::remove(folder.file("stop.gif")));
    ASSERT_TRUE(QFile::remove(folder.file("lecture.gif")));
    click("CBDéfiler");
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_TRUE(window->playing());
    click("CBDéfiler");
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_FALSE(window->playing());
}

TEST_F(PreviewTest, ThePreviewGoesOnOverNew) {
    validate(1, "1");
    click("CBDéfiler");
    triggerMenu("mnunouveau");
    EXPECT_TRUE(window->playing());
    tick();
    EXPECT_EQ(rows(), std::vector<int>(7, 0));  // the new sequence has no character 1
}
