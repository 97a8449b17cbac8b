#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include "AppTestSupport.h"
#include "ChildRun.h"
#include "app/TerminationSignals.h"

namespace {

const QString kSuccess = "Vexlo (0) Programmation réussie.\r\nRegarde ton afficheur.";

void writeTool(const std::string& path, const std::string& script) {
    writeBytes(path, "#!/bin/sh\n" + script);
    ::chmod(path.c_str(), 0700);
}

// Downloads through a stand-in "make" first on PATH, which runs the shell lines the test left in
// all.sh or program.sh for "make all" or "make program", in the working folder.
class DownloadTest : public WindowTest {
  protected:
    void SetUp() override {
        writeTool(tools.file("make"), ". '" + tools.path() + "'/$1.sh\n");
        WindowTest::SetUp();
    }
    void download(const std::string& all, const std::string& program = "") {
        writeBytes(tools.file("all.sh"), all);
        writeBytes(tools.file("program.sh"), program);
        click("CBDescendre");
    }
    TempFolder tools;
    ScopedEnv path{"PATH", QByteArray::fromStdString(tools.path()) + ":" + qgetenv("PATH")};
};

// The outcome words are DownloadOutcomeTest's and the excerpt BuildOutputViewTest's; the window
// picks the box, brings the output box into view and selects the word found there.
TEST_F(DownloadTest, TheOutcomeDecidesTheBox) {
    const std::string flood = "yes 'AfficheurCarac.c:12: error: expected ;' | head -c 10000000";
    const struct {
        std::string all, program;
        const char* box;  // its start
        bool widened;
        const char* selected;
    } cases[] = {
        {flood, "",
         "Erreur de compilation (4112) Erreur de compilation.\r\nL'erreur est la suivante "
         ":\r\nAfficheurCarac.c:12: error: expected ;\n",
         true, ""},
        {"[ \"$LC_ALL\" = C ] || echo ' aucune'", "", "Erreur de compilation (4112)", true, ""},
        {"echo ' aucune'", "echo 'Envoi réussi ? Non : programmer is NOT RESPONDING'",
         "Erreur de communication (4112) L'afficheur ne répond pas.", false, "NOT RESPONDING"},
        {"echo ' aucune'", "echo 'avrdude: Error: verification'",
         "Vexlo (0) Une erreur indéfinie c'est produite.", true, "Error"},
    };
    // The window answers a click while the flood of errors arrives.
    once(
        window.get(),
        [this] { return control<QPlainTextEdit>("RTB1")->document()->characterCount() > 100000; },
        [this] { clickDot(0, 0); });
    for (const auto& c : cases) {
        window->resize(304, window->height());
        download(c.all, c.program);
        const QString box = told();
        EXPECT_TRUE(box.startsWith(c.box)) << box.left(300).toStdString();
        EXPECT_EQ(window->width() > 700, c.widened) << c.all;
        EXPECT_EQ(control<QPlainTextEdit>("RTB1")->textCursor().selectedText(), c.selected);
        EXPECT_LT(box.size(), 3000);
    }
    EXPECT_EQ(window->grid().rowValue(0), 1);
}

// Nothing is built from a sequence the module cannot hold or a source that could not be made.
TEST_F(DownloadTest, ARefusedDownloadSaysWhyAndBuildsNothing) {
    const struct {
        std::function<void()> breakIt;
        QString box;
    } cases[] = {
        {[this] { QDir().mkdir(file("AfficheurCarac.c")); },
         "Erreur de fichier (16) Le programme « " + file("AfficheurCarac.c") + " »"},
        {[this] { QFile::remove(file("modèle/AfficheurCaracMaitre.mod")); },
         "Erreur de fichier (16) Le modèle du programme « " +
             file("modèle/AfficheurCaracMaitre.mod") + " »"},
        {[this] { folder.writeSequence("326", {}); },
         "Séquence trop longue (48) La séquence compte 326"},
    };
    for (const auto& c : cases) {
        c.breakIt();
        download("touch built");
        EXPECT_TRUE(told().startsWith(c.box));
        EXPECT_FALSE(exists(folder.file("built")));
    }
}

// The real Makefile with stand-in compiler and avrdude that wait for the test at each stage:
// the stage shows below the grid while its tool runs, avrdude's lines and progress as they come,
// the button is disabled and the grid live, and a failed try at 115,200 baud before a good one
// at 57,600 does not spoil the success.
TEST_F(DownloadTest, StagesAndOutputShowWhileTheToolsRun) {
    std::remove(tools.file("make").c_str());
    const std::string waitFor = "waitfor() { i=0; while [ ! -e '" + tools.path() +
                                "'/$1 ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i+1)); done; }\n";
    writeTool(tools.file("avr-gcc"), waitFor + "waitfor compile\ntouch AfficheurCarac.elf\n");
    writeTool(tools.file("avr-objcopy"), "touch AfficheurCarac.hex\n");
    writeTool(tools.file("avrdude"),
              waitFor +
                  "case \"$*\" in *115200*) echo 'programmer is not responding'; exit 1;; esac\n"
                  "echo 'avrdude: AVR device initialized'\nwaitfor write\n"
                  "printf 'Writing | ####################'\nwaitfor end\n"
                  "echo '############################## | 100%'\n");
    const ScopedEnv port("MAKEFLAGS", "PORT=/dev/null");
    auto stage = [this] { return control<QLabel>("LÉtape")->text(); };
    auto go = [this](const char* name) { writeBytes(tools.file(name), ""); };
    once(
        window.get(), [&] { return stage() == "Compilation…"; },
        [&] {
            EXPECT_FALSE(control("CBDescendre")->isEnabled());
            clickDot(0, 0);
            go("compile");
        });
    once(
        window.get(),
        [&] {
            return control<QPlainTextEdit>("RTB1")->toPlainText().contains("device initialized");
        },
        [&] {
            EXPECT_EQ(stage(), "Envoi au module…");
            go("write");
        });
    once(
        window.get(), [&] { return stage() == "Envoi au module… écriture 40 %"; },
        [&] { go("end"); });
    click("CBDescendre");
    EXPECT_TRUE(exists(tools.file("end")));
    EXPECT_EQ(told(), kSuccess);
    EXPECT_EQ(stage(), "");
    EXPECT_TRUE(control("CBDescendre")->isEnabled());
    EXPECT_EQ(window->grid().rowValue(0), 1);
}

// Closing the window, or a pupil logging out (SIGTERM, SIGHUP), ends the tool and its children
// and keeps the working file.
TEST_F(DownloadTest, ClosingOrEndingTheSessionEndsTheToolAndItsChildren) {
    const TerminationSignals endOfSession;
    for (const int signal : {0, SIGTERM, SIGHUP}) {
        std::remove(folder.file("child.pid").c_str());
        window.reset();  // a window holds its folder until it goes
        openWindow();
        click("CBCaracOk");
        once(
            window.get(), [this] { return !readBytes(folder.file("child.pid")).empty(); },
            [&] { signal == 0 ? (void)window->close() : (void)::kill(::getpid(), signal); });
        download("echo $$ > tool.pid\ntail -f /dev/null &\necho $! > child.pid\nwait\n");
        EXPECT_TRUE(seam.boxes.isEmpty());
        EXPECT_FALSE(window->isVisible()) << signal;
        for (const char* name : {"tool.pid", "child.pid"}) {
            EXPECT_TRUE(killedOrGone(std::stoi(readBytes(folder.file(name))))) << name;
        }
        EXPECT_NE(workingBytes().find("Nombre=1"), std::string::npos);
    }
}

}  // namespace
