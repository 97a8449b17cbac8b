#include <sys/stat.h>
#include <unistd.h>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

#include "AppTestSupport.h"

namespace {

const std::string kOneCharacter =
    "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n";
const std::string kTwoCharacters =
    "[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=4;10;17;17;31;17;17;0.5\r\n"
    "Caract\xE8re2=31;0;0;0;0;0;31;1.5\r\n";

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// A pupil on a shared install: the program folder, with the program in it, cannot be written;
// each test has a home of its own.
class ClassroomTest : public WindowTest {
  protected:
    void SetUp() override {
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", home_.path().c_str());
        std::filesystem::copy_file(VEXLO_PROGRAM_DIR "/Vexlo", folder.file("Vexlo"));
        ::chmod(folder.path().c_str(), 0555);
        if (::access(folder.path().c_str(), W_OK) == 0) {
            GTEST_SKIP() << "no read-only folder here: the tests run with all rights";
        }
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv("HOME", savedHome_);
    }
    std::string own(const std::string& name = {}) const {
        return home_.file(".local/share/vexlo") + (name.empty() ? "" : "/" + name);
    }
    std::string travail(const std::string& name = {}) const {
        return home_.file("Documents/Travail") + (name.empty() ? "" : "/" + name);
    }
    void validateOneCharacter() {
        draw({31, 1, 1, 15, 1, 1, 1}, "1,5");
        click("CBCaracOk");
    }

    TempFolder home_{"vexlo-eleve"};
    QByteArray savedHome_;
};

TEST_F(ClassroomTest, ValidationSaveAndLoadWorkInThePupilsFolders) {
    openWindow();
    const std::string programFiles = folder.listing();
    validateOneCharacter();
    EXPECT_EQ(readBytes(own("MessageTemporaire.car")), kOneCharacter);

    seam.saveAnswers.push_back(q(travail("f.car")));
    triggerMenu("mnusauver");
    EXPECT_EQ(seam.dialogs.back().InitDir, q(travail()));
    EXPECT_EQ(readBytes(travail("f.car")), kOneCharacter);

    triggerMenu("mnunouveau");
    seam.openAnswers.push_back(q(travail("f.car")));
    triggerMenu("mnucharger");
    EXPECT_EQ(rows(), (std::vector<int>{31, 1, 1, 15, 1, 1, 1}));
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(folder.listing(), programFiles);
}

// The real module kit builds in the pupil's folder; no module is plugged in.
TEST_F(ClassroomTest, TheDownloadGeneratesAndBuildsInThePupilsFolder) {
    if (QStandardPaths::findExecutable("avr-gcc").isEmpty()) {
        GTEST_SKIP() << "avr-gcc missing";
    }
    openWindow();
    validateOneCharacter();
    const QByteArray savedFlags = qgetenv("MAKEFLAGS");
    qputenv("MAKEFLAGS", "PORT=/dev/vexlo-absent");
    click("CBDescendre");
    qputenv("MAKEFLAGS", savedFlags);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].title, "Erreur de communication");
    EXPECT_TRUE(exists(own("AfficheurCarac.c")));
    EXPECT_TRUE(exists(own("AfficheurCarac.hex")));
}

// Two real programs on the same folder, each opening a sequence file from the command line.
TEST_F(ClassroomTest, TwoProgramsOnOneFolderKeepTheirSequencesApart) {
    writeBytes(home_.file("a.car"), kTwoCharacters);
    writeBytes(home_.file("b.car"), kOneCharacter);
    QProcess first;
    QProcess second;
    first.start(q(folder.file("Vexlo")), {q(home_.file("a.car"))});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readBytes(own("MessageTemporaire.car")) == kTwoCharacters; }, 10000));
    second.start(q(folder.file("Vexlo")), {q(home_.file("b.car"))});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readBytes(own("fenêtre-2/MessageTemporaire.car")) == kOneCharacter; }, 10000));
    EXPECT_EQ(readBytes(own("MessageTemporaire.car")), kTwoCharacters);
    for (QProcess* program : {&first, &second}) {
        EXPECT_EQ(program->state(), QProcess::Running);
        program->kill();
        program->waitForFinished();
    }
}

TEST_F(ClassroomTest, ASecondWindowSaysWhereItWorks) {
    openWindow();
    validateOneCharacter();
    FakeSeam otherSeam;
    auto other = std::make_unique<EditorWindow>(q(folder.path()), otherSeam);
    other->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !otherSeam.messages.empty(); }, 2000));
    ASSERT_EQ(otherSeam.messages.size(), 1u);
    EXPECT_EQ(otherSeam.messages[0].prompt,
              QStringLiteral("Une autre fenêtre de Vexlo travaille déjà dans le dossier « %1 ».\r\n"
                             "Celle-ci travaille dans le dossier « %2 » : les deux séquences ne "
                             "se mélangent pas.")
                  .arg(q(own()), q(own("fenêtre-2"))));
    EXPECT_EQ(otherSeam.messages[0].style, vbExclamation);
    EXPECT_EQ(readBytes(own("MessageTemporaire.car")), kOneCharacter);
    other->close();
}
