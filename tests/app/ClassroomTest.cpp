#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QStandardPaths>
#include <filesystem>

#include "AppTestSupport.h"

namespace {

const std::string kF = "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n";
const std::string kE = "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;31;2\r\n";

// A pupil on a shared install: the program folder, with the program in it, cannot be written.
class ClassroomTest : public WindowTest {
  protected:
    void SetUp() override {
        std::filesystem::copy_file(VEXLO_PROGRAM_DIR "/Vexlo", folder.file("Vexlo"));
        ::chmod(folder.path().c_str(), 0555);
        if (::access(folder.path().c_str(), W_OK) == 0) {
            GTEST_SKIP() << "no read-only folder here: the tests run with all rights";
        }
    }
    void openAndValidateF() {
        openWindow();
        draw({31, 1, 1, 15, 1, 1, 1}, "1,5");
        click("CBCaracOk");
    }
    QString own(const QString& name = {}) const {
        return QString::fromStdString(home.file(".local/share/vexlo")) +
               (name.isEmpty() ? "" : "/") + name;
    }
    TempFolder home{"vexlo-eleve"};
    ScopedEnv homeVariable{"HOME", QByteArray::fromStdString(home.path())};
};

// The working file, the save dialog and the build (real kit, no module) are the pupil's.
TEST_F(ClassroomTest, TheWorkAndTheBuildGoToThePupilsFolders) {
    openAndValidateF();
    EXPECT_EQ(readBytes(own("MessageTemporaire.car").toStdString()), kF);
    seam.answers = {QString::fromStdString(home.file("Documents/Travail/f.car"))};
    menu("mnusauver");
    EXPECT_EQ(seam.dialogFolder, QString::fromStdString(home.file("Documents/Travail")));
    EXPECT_EQ(readBytes(home.file("Documents/Travail/f.car")), kF);
    if (QStandardPaths::findExecutable("avr-gcc").isEmpty()) {
        GTEST_SKIP() << "avr-gcc missing";
    }
    const ScopedEnv port("MAKEFLAGS", "PORT=/dev/vexlo-absent");
    click("CBDescendre");
    EXPECT_TRUE(told().startsWith("Erreur de communication"));
    EXPECT_TRUE(QFile::exists(own("AfficheurCarac.hex")));
}

// The real program opens the file it is given; a second window on the folder says where it
// works, and the two sequences stay apart.
TEST_F(ClassroomTest, TwoProgramsOnOneFolderKeepTheirSequencesApart) {
    writeBytes(home.file("a.car"), kE);
    QProcess first;
    first.start(file("Vexlo"), {QString::fromStdString(home.file("a.car"))});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readBytes(own("MessageTemporaire.car").toStdString()) == kE; }, 10000));
    openAndValidateF();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seam.boxes.isEmpty(); }, 10000));
    EXPECT_EQ(told(),
              "Attention (48) Une autre fenêtre de Vexlo travaille déjà dans le dossier « " +
                  own() + " ».\r\nCelle-ci travaille dans le dossier « " + own("fenêtre-2") +
                  " » : les deux séquences ne se mélangent pas.");
    EXPECT_EQ(readBytes(own("fenêtre-2/MessageTemporaire.car").toStdString()), kF);
    EXPECT_EQ(readBytes(own("MessageTemporaire.car").toStdString()), kE);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

}  // namespace

// A root test run drops to "nobody" first, so that a folder without write permission is
// read-only here as it is for a pupil (the fixture skips where that could not be had).
int main(int argc, char* argv[]) {
    if (::geteuid() == 0) {
        (void)(::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
