#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "AppTestSupport.h"
#include "ChildRun.h"
#include "app/TerminationSignals.h"

namespace {

const QString kCompileError = QStringLiteral("Erreur de compilation");
const QString kCompileText = QStringLiteral(
    "Erreur de compilation.\r\nL'erreur est la suivante :\r\n%1\r\nAppelle le Maître.");
const QString kNoAnswerText = QStringLiteral(
    "L'afficheur ne répond pas. \r\n\r\nVérifie la connection du câble au PC et que la pile est "
    "bien branchée.");
const QString kUndefinedText =
    QStringLiteral("Une erreur indéfinie c'est produite.\r\n Appelle le Maître.");
const QString kSuccessText = QStringLiteral("Programmation réussie.\r\nRegarde ton afficheur.");

// Calls `step` from the window's event loop, again and again, until it returns true.
void untilDone(QTimer& timer, std::function<bool()> step) {
    QObject::connect(&timer, &QTimer::timeout, [&timer, step] {
        if (step()) {
            timer.stop();
        }
    });
    timer.start(0);
}

}  // namespace

// Downloads through a stand-in build tool: a "make" first on PATH that prints, for "all" and
// "program", the text of the files all.txt and program.txt of its folder.
class DownloadTest : public WindowTest {
  protected:
    void SetUp() override {
        savedPath_ = qgetenv("PATH");
        useStandIn("printf %s \"$(cat \"" + tools_.path() + "/$1.txt\" 2>/dev/null)\"\n");
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv("PATH", savedPath_);
    }
    void useStandIn(const std::string& script) {
        writeBytes(tools_.file("make"), "#!/bin/sh\n" + script);
        ::chmod(tools_.file("make").c_str(), 0700);
        qputenv("PATH", QByteArray::fromStdString(tools_.path()) + ":" + savedPath_);
    }
    void prints(const std::string& all, const std::string& program) {
        writeBytes(tools_.file("all.txt"), all);
        writeBytes(tools_.file("program.txt"), program);
    }

    TempFolder tools_;
    QByteArray savedPath_;
};

TEST_F(DownloadTest, TheToolsWordsDecideTheMessage) {
    const struct {
        const char* all;
        const char* program;
        QString title;
        QString prompt;
        int style;
        bool widened;
    } cases[] = {
        {"Compilation : Aucune erreur", "Flash OK", "Vexlo", kSuccessText, 0, false},
        {"x.c:3: error: 'y' undeclared", "", kCompileError,
         kCompileText.arg("x.c:3: error: 'y' undeclared"), 4112, true},
        {" aucune", "programmer is not responding\nerror", "Erreur de communication", kNoAnswerText,
         4112, false},
        {" aucune", "avrdude: Error: verification", "Vexlo", kUndefinedText, 0, true},
    };
    for (const auto& c : cases) {
        seam.messages.clear();
        window->resize(304, window->height());
        prints(c.all, c.program);
        click("CBDescendre");
        ASSERT_EQ(seam.messages.size(), 1u) << c.all << " / " << c.program;
        EXPECT_EQ(seam.messages[0].title, c.title) << c.all << " / " << c.program;
        EXPECT_EQ(seam.messages[0].prompt, c.prompt) << c.all << " / " << c.program;
        EXPECT_EQ(seam.messages[0].style, c.style) << c.all << " / " << c.program;
        EXPECT_EQ(window->width() > 700, c.widened) << c.all << " / " << c.program;
        EXPECT_FALSE(window->downloading());
    }
}

TEST_F(DownloadTest, TheOutputBoxShowsWhatTheToolPrintedWithTheWordFoundSelected) {
    prints("a.c:1: error: oops\na.c:2: note: here", "");
    click("CBDescendre");
    EXPECT_EQ(control<QPlainTextEdit>("RTB1")->toPlainText(),
              "a.c:1: error: oops\na.c:2: note: here");
    prints(" aucune", "Envoi réussi ? Non : programmer is NOT RESPONDING");
    click("CBDescendre");
    EXPECT_EQ(control<QPlainTextEdit>("RTB1")->textCursor().selectedText(), "NOT RESPONDING");
}

TEST_F(DownloadTest, NoBuildToolOnThePathIsNamedInTheCompileError) {
    qputenv("PATH", "/nonexistent");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt,
              kCompileText.arg("L'outil de construction ne peut pas être lancé (« make » : le "
                               "fichier ou le dossier n'existe pas)."));
    EXPECT_EQ(seam.messages[0].title, kCompileError);
}

// The real Makefile with stand-in compiler and avrdude that wait for the test at each stage:
// every stage shows below the grid while its tool runs, avrdude's lines and progress arrive as
// they are printed, the download button is disabled, the grid stays live, and an attempt that
// failed at 115,200 baud before a good one at 57,600 does not spoil the success.
TEST_F(DownloadTest, StagesAndOutputShowWhileTheToolsRun) {
    std::remove(tools_.file("make").c_str());
    const std::string waitFor = "#!/bin/sh\nwaitfor() { i=0; while [ ! -e '" + tools_.path() +
                                "'/$1 ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i+1)); done; }\n";
    for (const auto& [name, body] :
         {std::pair{"avr-gcc", "waitfor compile\ntouch AfficheurCarac.elf\n"},
          std::pair{"avr-objcopy", "touch AfficheurCarac.hex\n"},
          std::pair{"avrdude",
                    "case \"$*\" in *115200*) echo 'avrdude error: programmer is not "
                    "responding'; exit 1;; esac\necho 'avrdude: AVR device initialized'\n"
                    "waitfor write\nprintf 'Writing | ####################'\nwaitfor end\n"
                    "echo '############################## | 100%'\n"}}) {
        writeBytes(tools_.file(name), waitFor + body);
        ::chmod(tools_.file(name).c_str(), 0700);
    }
    const QByteArray savedFlags = qgetenv("MAKEFLAGS");
    qputenv("MAKEFLAGS", "PORT=/dev/null");
    auto stage = [this] { return text("LÉtape"); };
    auto output = [this] { return control<QPlainTextEdit>("RTB1")->toPlainText(); };
    auto go = [this](const char* name) { writeBytes(tools_.file(name), ""); };
    const std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps = {
        {[&] { return stage() == "Compilation…"; },
         [&] {
             EXPECT_FALSE(control("CBDescendre")->isEnabled());
             clickDot(0, 0);
             go("compile");
         }},
        {[&] { return output().contains("AVR device initialized"); },
         [&] {
             EXPECT_EQ(stage(), "Envoi au module…");
             go("write");
         }},
        {[&] { return stage() == "Envoi au module… écriture 40 %"; }, [&] { go("end"); }},
    };
    size_t done = 0;
    QTimer player;
    untilDone(player, [&] {
        if (steps[done].first()) {
            steps[done++].second();
        }
        return done == steps.size();
    });
    click("CBDescendre");
    qputenv("MAKEFLAGS", savedFlags);
    EXPECT_EQ(done, steps.size()) << output().toStdString();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt, kSuccessText);
    EXPECT_EQ(stage(), "");
    EXPECT_TRUE(control("CBDescendre")->isEnabled());
    EXPECT_EQ(window->grid().rowValue(0), 1);
}

// A pupil logging out (SIGTERM, SIGHUP) ends the build as closing the window does.
TEST_F(DownloadTest, ClosingOrEndingTheSessionEndsTheToolAndItsChildren) {
    const TerminationSignals endOfSession;
    const std::string pids = tools_.path();
    useStandIn("echo $$ > '" + pids + "/tool.pid'\ntail -f /dev/null &\necho $! > '" + pids +
               "/child.pid'\nwait\n");
    for (const int signal : {0, SIGTERM, SIGHUP}) {
        std::remove(tools_.file("child.pid").c_str());
        window.reset();  // a window holds its folder until it goes
        openWindow();
        click("CBCaracOk");
        QTimer ender;
        untilDone(ender, [&] {
            if (readBytes(tools_.file("child.pid")).empty()) {
                return false;
            }
            signal == 0 ? (void)window->close() : (void)::kill(::getpid(), signal);
            return true;
        });
        click("CBDescendre");
        EXPECT_TRUE(seam.messages.empty());
        EXPECT_FALSE(window->isVisible()) << signal;
        for (const char* name : {"tool.pid", "child.pid"}) {
            EXPECT_TRUE(killedOrGone(std::stoi(readBytes(tools_.file(name))))) << name;
        }
        EXPECT_TRUE(exists(folder.file("MessageTemporaire.car")));
    }
}

// 10 MB of compiler errors: the box shows their head and says where the rest is, and the window
// answers a click while they arrive.
TEST_F(DownloadTest, AFloodOfCompileErrorsKeepsTheBoxOnScreenAndTheWindowLive) {
    useStandIn("yes 'AfficheurCarac.c:12: error: expected ; before x' | head -c 10000000\n");
    QTimer clicker;
    untilDone(clicker, [&] {
        if (control<QPlainTextEdit>("RTB1")->document()->characterCount() < 100000) {
            return false;
        }
        clickDot(0, 0);
        return true;
    });
    click("CBDescendre");
    EXPECT_EQ(window->grid().rowValue(0), 1);
    ASSERT_EQ(seam.messages.size(), 1u);
    const QString prompt = seam.messages[0].prompt;
    EXPECT_TRUE(prompt.contains("La suite est dans la zone de sortie")) << prompt.size();
    QMessageBox box(QMessageBox::Critical, seam.messages[0].title, prompt);
    EXPECT_LE(box.sizeHint().height(), box.screen()->availableGeometry().height());
    EXPECT_LE(box.sizeHint().width(), box.screen()->availableGeometry().width());
}

// The module's flash holds a few hundred characters: a longer sequence is refused, naming the
// limit, before anything is generated or built.
TEST_F(DownloadTest, ASequenceTooLongForTheModuleIsRefusedBeforeTheBuild) {
    writeBytes(folder.file("MessageTemporaire.car"), "[Caract\xE8res]\r\nNombre=5000\r\n");
    prints(" aucune", "");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].title, "Séquence trop longue");
    EXPECT_TRUE(seam.messages[0].prompt.contains("au plus 325"))
        << seam.messages[0].prompt.toStdString();
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.c")));
}

// On a French desktop make's own message for a missing Makefile holds "Aucune"; the build runs
// with English messages, so it is a compile error.
TEST_F(DownloadTest, AMissingMakefileOnAFrenchDesktopIsACompileError) {
    const TempFolder locales;
    const std::string french = locales.file("fr_FR.UTF-8");
    if (std::system(("localedef -i fr_FR -f UTF-8 '" + french + "' 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "localedef cannot make the French locale (package locales missing?)";
    }
    const QByteArray saved[] = {qgetenv("LOCPATH"), qgetenv("LANG"), qgetenv("LC_ALL")};
    qputenv("LOCPATH", QByteArray::fromStdString(locales.path()));
    qputenv("LANG", "fr_FR.UTF-8");
    qunsetenv("LC_ALL");
    qputenv("PATH", savedPath_);
    std::remove(folder.file("Makefile").c_str());
    QProcess frenchMake;
    frenchMake.setWorkingDirectory(file("."));
    frenchMake.start("make", {"all"});
    frenchMake.waitForFinished();
    const bool translated = frenchMake.readAllStandardError().contains("Aucune");
    if (translated) {
        click("CBDescendre");
    }
    qputenv("LOCPATH", saved[0]);
    qputenv("LANG", saved[1]);
    qputenv("LC_ALL", saved[2]);
    if (!translated) {
        GTEST_SKIP() << "make has no French messages here";
    }
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].title, kCompileError);
}

TEST_F(DownloadTest, AnUnreadableTemplateIsNamedAndNothingIsBuilt) {
    QFile::remove(file("modèle/AfficheurCaracMaitre.mod"));
    prints(" aucune", "");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains(file("modèle/AfficheurCaracMaitre.mod")));
    EXPECT_TRUE(seam.messages[0].prompt.contains("n'existe pas"));
    EXPECT_EQ(seam.messages[0].style, 16);
    EXPECT_FALSE(exists(folder.file("AfficheurCarac.c")));
}

TEST_F(DownloadTest, AnUnwritableSourceIsNamedAndNothingIsBuilt) {
    QDir().mkdir(file("AfficheurCarac.c"));
    prints(" aucune", "");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains(file("AfficheurCarac.c")));
}

TEST_F(DownloadTest, APlayingPreviewGoesOnOverADownload) {
    click("CBCaracOk");
    click("CBDéfiler");
    prints(" aucune", "");
    click("CBDescendre");
    EXPECT_TRUE(window->sequence().playing());
    EXPECT_TRUE(control<QTimer>("Timer1")->isActive());
}

TEST_F(DownloadTest, TheSlaveTemplateTakesTheDelay) {
    control<QRadioButton>("MaitreEsclave1")->click();
    setText("TRetard", "3");
    click("CBCaracOk");
    prints(" aucune", "");
    click("CBDescendre");
    const std::string source = readBytes(folder.file("AfficheurCarac.c"));
    EXPECT_NE(source.find("#define CarRet 3 "), std::string::npos);
    EXPECT_NE(source.find("while (T100ms < tempo){} "), std::string::npos);
}
