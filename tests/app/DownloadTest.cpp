#include <unistd.h>
#include <QStandardPaths>
#include <csignal>

#include "AppTestSupport.h"
#include "ChildRun.h"
#include "app/TerminationSignals.h"
#include "console/ChildProcess.h"

// The Makefile's line of a good send.
const std::string sent = "echo 'Envoi terminé : le module est programmé et vérifié.'\n";

// The outcomes are DownloadRunTest's; here the box, the width, the word selected, the stages,
// the boxes' styles and a live window.
TEST_F(WindowTest, TheDownloadShowsItsStagesAndItsOutcome) {
    // make all, make program, the box, whether the window widens, the word selected
    const std::tuple<std::string, std::string, const char*, bool, const char*> cases[] = {
        {"yes 'AfficheurCarac.c:12: error: x' | head -c 10000000", "",
         "Erreur de compilation (4112) Erreur de compilation.\r\nL'erreur est la suivante :\r\n"
         "AfficheurCarac.c:12: error: x\n",
         true, ""},
        {"[ \"$LC_ALL\" = C ] || echo ' aucune'", "", "Erreur de compilation (4112)", true, ""},
        {"echo ' aucune'", "echo 'Envoi réussi ? Non : programmer is NOT RESPONDING'",
         "Erreur de communication (4112) L'afficheur ne répond pas. \r\n\r\nVérifie la "
         "connexion",
         false, "NOT RESPONDING"},
        {"echo ' aucune'", "echo 'avrdude: Error: verification'",
         "Vexlo (0) Une erreur indéfinie s'est produite.", true, "Error"},
    };
    poll(window.get(), [this] {  // a click while the flood of errors arrives
        return output().size() > 100000 && (clickDot(0, 0), true);
    });
    for (const auto& [all, program, box, widened, selected] : cases) {
        window->resize(304, window->height());
        download(all, program);
        const QString shown = told();
        EXPECT_TRUE(shown.startsWith(box) && shown.size() < 3000) << shown.left(300).toStdString();
        EXPECT_EQ(window->width() > 700, widened) << all;
        EXPECT_EQ(control<QPlainTextEdit>("RTB1")->textCursor().selectedText(), selected);
    }
    // The box shows the start of the flood only.
    download(std::get<0>(cases[0]));
    told();
    EXPECT_TRUE(output().size() < 1100000 && output().endsWith("n'est pas affichée ici."))
        << output().size() << output().right(80).toStdString();
    // Stand-in tools wait for the test at each stage (avrdude writes on its error output).
    const std::string waitFor = "waitfor() { i=0; while [ ! -e '" + tools.path() +
                                "'/$1 ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i+1)); done; }\n";
    auto stage = [this] { return control<QLabel>("LÉtape")->text(); };
    const std::pair<QString, const char*> steps[] = {{"Compilation…", "compile"},
                                                     {"AVR device initialized", "write"},
                                                     {"Envoi au module… écriture 40 %", "end"}};
    int done = 0;
    poll(window.get(), [&] {
        if ((stage() + output()).contains(steps[done].first)) {
            EXPECT_FALSE(control("CBDescendre")->isEnabled());
            clickDot(0, done);
            writeBytes(tools.file(steps[done++].second), "");
        }
        return done == 3;
    });
    download(waitFor + "waitfor compile\necho 'Erreurs : aucune'\n",
             waitFor +
                 "echo 'AVR device initialized' >&2\nwaitfor write\n"
                 "printf 'Writing | ####################' >&2\nwaitfor end\necho '| 100%'\n" +
                 sent);
    EXPECT_EQ(done, 3) << output().toStdString();
    EXPECT_EQ(told(), "Vexlo (0) Programmation réussie.\r\nRegarde ton afficheur.");
    EXPECT_TRUE(stage().isEmpty() && control("CBDescendre")->isEnabled()) << stage().toStdString();
    EXPECT_EQ(window->grid().rowValue(0), 6);  // dot 0 clicked in the flood, then at each stage
    folder.writeSequence("326", {});           // more than the module holds: nothing is built
    download("touch built");
    EXPECT_TRUE(told().startsWith("Séquence trop longue (48) La séquence compte 326 caractères"));
    folder.writeSequence("1", {"1;1;1;1;1;1;1;0.5"});
    {
        const ScopedEnv noTools("PATH", "/nonexistent");
        download("");
        EXPECT_TRUE(
            told().startsWith("Outils absents (16) Il manque sur cet ordinateur : « make », "
                              "« avr-gcc », « avrdude »."));
    }
    QFile::remove(file("modèle/AfficheurCaracMaitre.mod"));  // nothing is built without a source
    download("touch built");
    EXPECT_TRUE(told().startsWith("Erreur de fichier (16) Le modèle du programme"));
    EXPECT_FALSE(exists(folder.file("built")));
}

// Closing the window, logging out (SIGTERM, SIGHUP) or Ctrl+C in the terminal (SIGINT) ends
// the tool's whole process group.
TEST_F(WindowTest, ClosingOrEndingTheSessionEndsTheBuildToolAndItsChildren) {
    const TerminationSignals endOfSession;
    for (const int signal : {0, SIGTERM, SIGHUP, SIGINT}) {
        std::remove(folder.file("child.pid").c_str());
        window.reset();  // a window holds its folder until it goes
        openWindow();
        poll(window.get(), [&] {
            return !readBytes(folder.file("child.pid")).empty() &&
                   (signal == 0 ? window->close() : ::kill(::getpid(), signal) == 0);
        });
        download("tail -f /dev/null >/dev/null &\necho $! > child.pid\nwait\n");
        EXPECT_TRUE(seam.boxes.isEmpty() && !window->isVisible()) << signal;
        EXPECT_TRUE(killedOrGone(std::stoi(readBytes(folder.file("child.pid"))))) << signal;
    }
}

// Through the real kit to vexlo-module (the slave's timing is FirmwareTimingTest's).
TEST_F(WindowTest, TheVirtualModulesShowTheSequenceAsMasterAndAsSlave) {
    if (QStandardPaths::findExecutable("avr-gcc").isEmpty() ||
        QStandardPaths::findExecutable("avrdude").isEmpty()) {
        GTEST_SKIP() << "avr-gcc or avrdude missing";
    }
    folder.writeSequence(
        "3", {"31;1;1;15;1;1;1;0.4", "16;16;16;16;16;17;14;0.4", "8;12;10;9;31;8;8;0.4"});
    const QString sequence = "31 1 1 15 1 1 1|16 16 16 16 16 17 14|8 12 10 9 31 8 8|";
    std::remove(tools.file("make").c_str());
    const ScopedEnv portFile("VEXLO_MODULE_PORT_FILE", file("vexlo-module.port").toUtf8());
    ChildProcess chain;
    chain.start("\"" VEXLO_PROGRAM_DIR "/vexlo-module\" --headless --modules 2", "", false);
    QString output;
    auto shown = [&](const QString& module) {
        for (std::string piece;
             chain.read(ChildProcess::Stream::Output, piece) == ChildProcess::ReadStatus::Data;) {
            output += QString::fromStdString(piece);
        }
        QString rows;
        for (const QString& line : output.left(output.lastIndexOf('\n') + 1).split('\n')) {
            if (line.section(' ', 1, 1) == module && !line.endsWith("rows 0 0 0 0 0 0 0")) {
                rows += line.section(" rows ", 1) + "|";
            }
        }
        return rows;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(file("vexlo-module.port")); }, 10000));
    click("CBDescendre");
    EXPECT_TRUE(told().contains("Programmation réussie"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown("1").size() > 2 * sequence.size(); }, 30000));
    EXPECT_TRUE(shown("1").startsWith(sequence + sequence)) << shown("1").toStdString();

    chain.writeInput("cable 2\n");
    control<QRadioButton>("MaitreEsclave1")->click();
    control<QLineEdit>("TRetard")->setText("1");
    click("CBDescendre");
    EXPECT_TRUE(told().contains("Programmation réussie"));
    EXPECT_NE(readBytes(folder.file("AfficheurCarac.c")).find("#define CarRet 1 "),
              std::string::npos);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown("2").size() > sequence.size(); }, 30000));
    EXPECT_TRUE(shown("2").startsWith(sequence)) << shown("2").toStdString();
}

// A second window on a read-only install works in the pupil's folders.
TEST_F(WindowTest, APupilsWorkGoesToThePupilsFolders) {
    window.reset();
    QFile::setPermissions(file(""), QFile::ReadOwner | QFile::ExeOwner);
    if (::access(folder.path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "no read-only folder here: the tests run with all rights";
    }
    const TempFolder home("vexlo-eleve");
    const ScopedEnv homeVariable("HOME", QByteArray::fromStdString(home.path()));
    const std::string own = home.file(".local/share/vexlo"), second = own + "/fenêtre-2/",
                      travail = home.file("Documents/Travail");
    openWindow();
    const auto first = std::move(window);
    openWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seam.boxes.isEmpty(); }, 10000));
    EXPECT_TRUE(told().contains(QString::fromStdString("« " + own + "/fenêtre-2 »")));
    click("CBCaracOk");
    seam.answers = {QString::fromStdString(travail + "/f.car")};
    menu("mnusauver");
    EXPECT_EQ(seam.dialogFolder.toStdString(), travail);
    download("touch built\necho ' aucune'\n", sent);
    const QString said = told();
    EXPECT_TRUE(said.contains("Programmation réussie"))
        << said.toStdString() << output().toStdString();
    for (const char* made : {"MessageTemporaire.car", "AfficheurCarac.c", "built"}) {
        EXPECT_TRUE(exists(second + made)) << made;
    }
    EXPECT_TRUE(exists(travail + "/f.car") && !exists(own + "/MessageTemporaire.car"));
}
