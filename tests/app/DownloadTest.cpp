#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "AppTestSupport.h"
#include "ChildRun.h"

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

TEST_F(DownloadTest, NoBuildToolAtAllIsACompileErrorWithAnEmptyOutput) {
    qputenv("PATH", "/nonexistent");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt, kCompileText.arg(""));
    EXPECT_EQ(seam.messages[0].title, kCompileError);
}

// The stand-in tool waits at a named pipe until the test lets it go, so the run lasts exactly as
// long as the test needs.
TEST_F(DownloadTest, ASecondClickDuringARunIsRefusedAndTheWindowStaysLive) {
    const std::string gate = tools_.file("gate");
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
    useStandIn("read x < '" + gate + "'\necho ' aucune'\n");
    bool clicked = false;
    QTimer during;
    untilDone(during, [&] {
        if (!window->downloading()) {
            return false;
        }
        if (!clicked) {
            click("CBDescendre");
            clickDot(0, 0);
            clicked = true;
        }
        const int fd = ::open(gate.c_str(), O_WRONLY | O_NONBLOCK);  // opens once the tool waits
        if (fd >= 0) {
            EXPECT_EQ(::write(fd, "\n", 1), 1);
            ::close(fd);
        }
        return false;  // "make program" waits at the gate too
    });
    click("CBDescendre");
    EXPECT_EQ(seam.beeps, 1);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt, kSuccessText);
    EXPECT_EQ(window->grid().rowValue(0), 1);
}

TEST_F(DownloadTest, ClosingTheWindowEndsTheToolAndItsChildren) {
    const std::string pids = tools_.path();
    useStandIn("echo $$ > '" + pids + "/tool.pid'\ntail -f /dev/null &\necho $! > '" + pids +
               "/child.pid'\nwait\n");
    click("CBCaracOk");
    QTimer closer;
    untilDone(closer, [&] {
        if (readBytes(tools_.file("child.pid")).empty()) {
            return false;
        }
        window->close();
        return true;
    });
    click("CBDescendre");
    EXPECT_TRUE(seam.messages.empty());
    for (const char* name : {"tool.pid", "child.pid"}) {
        EXPECT_TRUE(killedOrGone(std::stoi(readBytes(tools_.file(name))))) << name;
    }
    EXPECT_TRUE(exists(folder.file("MessageTemporaire.car")));
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
