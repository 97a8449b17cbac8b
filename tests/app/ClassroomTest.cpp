#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QStandardPaths>

#include "AppTestSupport.h"

// On a shared install (program folder read-only) the real program opened on a file and a second
// window each work in a folder of the pupil's own; saves go to the pupil's documents.
using ClassroomTest = WindowTest;

TEST_F(ClassroomTest, APupilsWorkGoesToThePupilsFolders) {
    window.reset();
    QFile::copy(VEXLO_PROGRAM_DIR "/Vexlo", file("Vexlo"));
    ::chmod(folder.path().c_str(), 0555);
    if (::access(folder.path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "no read-only folder here: the tests run with all rights";
    }
    const TempFolder home("vexlo-eleve");
    const ScopedEnv homeVariable("HOME", QByteArray::fromStdString(home.path()));
    const std::string own = home.file(".local/share/vexlo"),
                      travail = home.file("Documents/Travail");
    const std::string first = "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=1;0;0;0;0;0;0;2\r\n";
    writeBytes(home.file("a.car"), first);
    QProcess program;
    program.start(file("Vexlo"), {QString::fromStdString(home.file("a.car"))});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return readBytes(own + "/MessageTemporaire.car") == first; }, 10000));

    openWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seam.boxes.isEmpty(); }, 10000));
    EXPECT_TRUE(told().contains(QString::fromStdString("« " + own + "/fenêtre-2 »")));
    window->MiseAJourCaractère("31;1;1;15;1;1;1;1,5");
    click("CBCaracOk");
    const std::string f = readBytes(own + "/fenêtre-2/MessageTemporaire.car");
    EXPECT_NE(f.find("Caract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(own + "/MessageTemporaire.car"), first);
    seam.answers = {QString::fromStdString(travail + "/f.car")};
    menu("mnusauver");
    EXPECT_EQ(seam.dialogFolder.toStdString(), travail);
    EXPECT_EQ(readBytes(travail + "/f.car"), f);
    EXPECT_EQ(program.state(), QProcess::Running);  // until its object goes
    if (QStandardPaths::findExecutable("avr-gcc").isEmpty()) {
        GTEST_SKIP() << "avr-gcc missing";
    }
    std::remove(tools.file("make").c_str());
    const ScopedEnv port("MAKEFLAGS", "PORT=/dev/vexlo-absent");
    click("CBDescendre");
    EXPECT_TRUE(told().startsWith("Erreur de communication"));
    EXPECT_TRUE(exists(own + "/fenêtre-2/AfficheurCarac.hex"));
}

// Run as root, the test drops to "nobody", for whom a read-only folder is read-only.
int main(int argc, char* argv[]) {
    if (::geteuid() == 0) {
        (void)(::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
