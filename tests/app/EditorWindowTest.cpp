#include "AppTestSupport.h"

const std::vector<int> kF = {31, 1, 1, 15, 1, 1, 1};
const std::string kStoredF = "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n";

// A validation that cannot be stored keeps the drawing and number (the words: SequenceModelTest);
// the next start deletes the working file left by the last and shows a blank character 1.
TEST_F(WindowTest, AFailedValidationSaysWhyAndANewStartClearsTheWorkingFile) {
    QDir().mkdir(window->workingFile());
    draw(kF, "1,5");
    click("CBCaracOk");
    EXPECT_TRUE(told().startsWith("Attention (48) Ce caractère n'a pas pu être enregistré"));
    EXPECT_EQ(std::tuple(number(), rows(), duration()->text()), std::tuple("1", kF, "1,5"));
    QDir().rmdir(window->workingFile());
    click("CBCaracOk");
    window.reset();
    openWindow();
    EXPECT_FALSE(exists(folder.file("MessageTemporaire.car")));
    EXPECT_EQ(std::pair(rows()[0], duration()->text()), std::pair(0, QString("0.5")));
}

// Beyond the module's 28 characters the number turns red under a warning; the slave's delay box
// takes the duration's place on character 1 only.
TEST_F(WindowTest, TheNumberWarnsBeyond28AndTheDelayShowsForTheSlaveOnCharacter1) {
    auto shown = [this] {
        return std::tuple(control<QLabel>("LNumCaractère")->palette().color(QPalette::WindowText),
                          control<QLabel>("TTropDeCar")->text(), control("TRetard")->isVisible(),
                          duration()->isVisible());
    };
    for (int i = 1; i <= 28; ++i) {
        click("CBCaracOk");
    }
    control<QRadioButton>("MaitreEsclave1")->click();
    EXPECT_EQ(shown(), std::tuple(QColor(255, 0, 0), "28 caractères MAX !!!", false, false));
    menu("mnunouveau");
    EXPECT_EQ(shown(), std::tuple(QColor(192, 0, 192), "", true, false));
    control<QRadioButton>("MaitreEsclave0")->click();
    EXPECT_EQ(shown(), std::tuple(QColor(192, 0, 192), "", false, true));
}

TEST_F(WindowTest, TheFileMenuLoadsAndSavesOrSaysWhyNot) {
    seam.answers = {file("Travail/vide.car"), {}, file("Travail/absent.car")};
    menu("mnusauver");
    EXPECT_TRUE(told().contains("rien à sauver"));
    menu("mnucharger");
    EXPECT_EQ(told(), "Attention (48) Pas de fichier à ouvrir !!!");
    menu("mnucharger");
    EXPECT_TRUE(told().contains(file("Travail/absent.car") + " » : le fichier"));
    writeBytes(folder.file("Travail/a.car"), kStoredF);
    seam.answers = {file("Travail/a.car"), file("Travail/b.car"), file("absent/b.car")};
    menu("mnucharger");
    EXPECT_EQ(std::pair(rows(), duration()->text()), std::pair(kF, QString("1.5")));
    menu("mnusauver");
    EXPECT_EQ(readBytes(folder.file("Travail/b.car")), kStoredF);
    menu("mnusauver");
    EXPECT_TRUE(told().contains(file("absent/b.car") + " » : le fichier"));
}

// Timer1's ticks are fired by hand, so no test waits for time. Missing pictures are drawn.
TEST_F(WindowTest, ThePreviewTicksShowTheCharactersUntilStopped) {
    writeBytes(folder.file("pointrouge.gif"), "not a picture");
    QFile::remove(file("stop.gif"));
    auto* timer = control<QTimer>("Timer1");
    auto tick = [timer] { QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection); };
    duration()->setText("0");
    click("CBDéfiler");  // stalls: a Qt timer of interval 0 would fire without end
    EXPECT_FALSE(timer->isActive());
    click("CBDéfiler");
    for (const int n : {1, 2}) {
        draw({n, 0, 0, 0, 0, 0, 0}, QString::number(n));
        click("CBCaracOk");
    }
    duration()->setText("0,25");
    click("CBDéfiler");
    EXPECT_EQ(timer->interval(), 250);
    EXPECT_FALSE(control<QPushButton>("CBDéfiler")->icon().isNull());
    for (const int n : {1, 2}) {
        tick();
        EXPECT_EQ(std::tuple(number(), rows()[0], timer->interval(), timer->isActive()),
                  std::tuple(QString::number(n), n, n * 1000, true));
        EXPECT_EQ(window->grid().dot(0, n - 1)->pixmap().toImage().pixelColor(10, 10), Qt::red);
    }
    click("CBDéfiler");
    tick();
    EXPECT_FALSE(timer->isActive());
}
