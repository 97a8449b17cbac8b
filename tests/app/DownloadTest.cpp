#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "AppTestSupport.h"

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

// A killed orphan may stay a zombie until the machine's init reaps it; it no longer runs.
bool processRuns(const QString& pidFile) {
    const QByteArray pid = readBytes(pidFile).trimmed();
    const QByteArray stat = readBytes(QStringLiteral("/proc/%1/stat").arg(QString(pid)));
    const qsizetype state = stat.lastIndexOf(')') + 2;
    return !pid.isEmpty() && state > 1 && state < stat.size() && stat[state] != 'Z';
}

}  // namespace

// Downloads through a stand-in build tool: a "make" first on PATH that prints, for "all" and
// "program", the text of the files all.txt and program.txt of its folder.
class DownloadTest : public WindowTest {
  protected:
    void SetUp() override {
        savedPath_ = qgetenv("PATH");
        ASSERT_TRUE(tools_.isValid());
        useStandIn(QStringLiteral("#!/bin/sh\nprintf %s \"$(cat \"%1/$1.txt\" 2>/dev/null)\"\n")
                       .arg(tools_.path()));
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv("PATH", savedPath_);
    }
    void useStandIn(const QString& script) {
        writeBytes(tools_.filePath("make"), script.toUtf8());
        QFile::setPermissions(tools_.filePath("make"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", tools_.path().toUtf8() + ":" + savedPath_);
    }
    void prints(const QByteArray& all, const QByteArray& program) {
        writeBytes(tools_.filePath("all.txt"), all);
        writeBytes(tools_.filePath("program.txt"), program);
    }
    QString tool(const char* name) const { return tools_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir tools_;
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
        {"ok, aucune erreur", "", "Vexlo", kSuccessText, 0, false},
        {"OK AUCUNE ERREUR", "erreur de vérification", "Vexlo", kSuccessText, 0, false},
        {"Aucune erreur", "", kCompileError, kCompileText.arg("Aucune erreur"), 4112, true},
        {"x.c:3: error: 'y' undeclared", "", kCompileError,
         kCompileText.arg("x.c:3: error: 'y' undeclared"), 4112, true},
        {" aucune", "programmer is not responding\nerror", "Erreur de communication", kNoAnswerText,
         4112, false},
        {" aucune", "avrdude: Error: verification", "Vexlo", kUndefinedText, 0, true},
        {" aucune", "Error only at the first character", "Vexlo", kSuccessText, 0, false},
        {" aucune", "3 errors", "Vexlo", kUndefinedText, 0, true},
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

TEST_F(DownloadTest, TheOutputBoxShowsWhatTheCompilerPrinted) {
    prints("a.c:1: error: oops\na.c:2: note: here", "");
    click("CBDescendre");
    EXPECT_EQ(control<QPlainTextEdit>("RTB1")->toPlainText(),
              "a.c:1: error: oops\na.c:2: note: here");
    EXPECT_TRUE(QFile::exists(folder.file("AfficheurCarac.c")));
}

TEST_F(DownloadTest, TheWordFoundStaysSelectedInTheOutputBox) {
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

TEST_F(DownloadTest, ASecondClickDuringARunIsRefused) {
    useStandIn(QStringLiteral("#!/bin/sh\nsleep 0.5\necho ' aucune'\n"));
    QTimer::singleShot(100, window.get(), [this] {
        EXPECT_TRUE(window->downloading());
        click("CBDescendre");
        clickDot(0, 0);  // the rest of the window stays live
    });
    click("CBDescendre");
    EXPECT_EQ(seam.beeps, 1);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].prompt, kSuccessText);
    EXPECT_EQ(window->grid().rowValue(0), 1);
}

TEST_F(DownloadTest, ClosingTheWindowEndsTheToolAndItsChildren) {
    useStandIn(QStringLiteral("#!/bin/sh\necho $$ > \"%1/tool.pid\"\nsleep 60 &\n"
                              "echo $! > \"%1/child.pid\"\nwait\n")
                   .arg(tools_.path()));
    click("CBCaracOk");
    QTimer::singleShot(300, window.get(), [this] { window->close(); });
    QElapsedTimer clock;
    clock.start();
    click("CBDescendre");
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(seam.messages.empty());
    // The kill reaches the whole group at once, but a busy machine takes a moment to end it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !processRuns(tool("tool.pid")); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !processRuns(tool("child.pid")); }, 2000));
    EXPECT_TRUE(QFile::exists(window->workingFile()));
}

TEST_F(DownloadTest, AnUnreadableTemplateIsNamedAndNothingIsBuilt) {
    QFile::remove(folder.file("modèle/AfficheurCaracMaitre.mod"));
    prints(" aucune", "");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains(folder.file("modèle/AfficheurCaracMaitre.mod")));
    EXPECT_EQ(seam.messages[0].style, 16);
    EXPECT_FALSE(QFile::exists(folder.file("AfficheurCarac.c")));
}

TEST_F(DownloadTest, AnUnwritableSourceIsNamedAndNothingIsBuilt) {
    QDir(folder.path()).mkdir("AfficheurCarac.c");
    prints(" aucune", "");
    click("CBDescendre");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].prompt.contains(folder.file("AfficheurCarac.c")));
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
    const QByteArray source = readBytes(folder.file("AfficheurCarac.c"));
    EXPECT_TRUE(source.contains("#define CarRet 3 "));
    EXPECT_TRUE(source.contains("while (T100ms < tempo){} "));
}
