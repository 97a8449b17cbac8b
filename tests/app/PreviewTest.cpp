#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "AppTestSupport.h"

// Ticks are driven by hand: each tick() is one timeout of Timer1, so no test waits for time.
class PreviewTest : public WindowTest {
  protected:
    QTimer* timer() const { return control<QTimer>("Timer1"); }
    void tick() { QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection); }
};

TEST_F(PreviewTest, TheTimerPlaysTheStoredCharactersAndStops) {
    for (const int n : {1, 2}) {
        draw({n, 0, 0, 0, 0, 0, 0}, QString::number(n));
        click("CBCaracOk");
    }
    setText("TDurée", "0,25");
    click("CBDéfiler");
    EXPECT_TRUE(window->sequence().playing());
    EXPECT_EQ(text("LNumCaractère"), "3");  // the character on display stays until the tick
    EXPECT_EQ(timer()->interval(), 250);
    EXPECT_TRUE(timer()->isActive());
    for (const int n : {1, 2, 1}) {
        tick();
        EXPECT_EQ(text("LNumCaractère"), QString::number(n));
        EXPECT_EQ(rows(), std::vector<int>({n, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(timer()->interval(), n * 1000);
        EXPECT_TRUE(timer()->isActive());
    }
    click("CBDéfiler");
    EXPECT_FALSE(window->sequence().playing());
    EXPECT_TRUE(timer()->isActive());  // the timer goes off at its next tick
    tick();
    EXPECT_EQ(text("LNumCaractère"), "2");
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(PreviewTest, ADurationOfNoTimeStallsWithoutTicking) {
    setText("TDurée", "0");
    click("CBDéfiler");
    EXPECT_TRUE(window->sequence().playing());
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(PreviewTest, MissingFacePicturesAreDrawn) {
    auto* button = control<QPushButton>("CBDéfiler");
    ASSERT_TRUE(QFile::remove(file("stop.gif")));
    ASSERT_TRUE(QFile::remove(file("lecture.gif")));
    click("CBDéfiler");
    EXPECT_FALSE(button->icon().isNull());
    click("CBDéfiler");
    EXPECT_FALSE(button->icon().isNull());
}
