#include <QStandardPaths>

#include "AppTestSupport.h"
#include "console/ChildProcess.h"

// The window downloads F, J and 4 through the real kit to vexlo-module --headless, whose lines
// tell what each module showed: the master shows them in turn, and so does a slave (its timing
// is FirmwareTimingTest's).
TEST_F(WindowTest, TheVirtualModulesShowTheSequenceAsMasterAndAsSlave) {
    if (QStandardPaths::findExecutable("avr-gcc").isEmpty() ||
        QStandardPaths::findExecutable("avrdude").isEmpty()) {
        GTEST_SKIP() << "avr-gcc or avrdude missing";
    }
    for (const std::vector<int>& rows : {std::vector{31, 1, 1, 15, 1, 1, 1},
                                         {16, 16, 16, 16, 16, 17, 14},
                                         {8, 12, 10, 9, 31, 8, 8}}) {
        draw(rows, "0,4");
        click("CBCaracOk");
    }
    const QString sequence = "31 1 1 15 1 1 1|16 16 16 16 16 17 14|8 12 10 9 31 8 8|";
    const ScopedEnv portFile("VEXLO_MODULE_PORT_FILE", file("vexlo-module.port").toUtf8());
    ChildProcess chain;
    chain.start("\"" VEXLO_PROGRAM_DIR "/vexlo-module\" --headless --modules 2", "", false);
    QString output;
    auto shown = [&](const QString& module) {  // its rows so far, the dark waits left out
        for (std::string piece;
             chain.read(ChildProcess::Stream::Output, piece) == ChildProcess::ReadStatus::Data;) {
            output += QString::fromStdString(piece);
        }
        QString rows;
        static const QRegularExpression line(
            "module (\\d) start \\S+ duration \\S+ rows ([ \\d]+)\n");
        for (const QRegularExpressionMatch& match : line.globalMatch(output)) {
            if (match.captured(1) == module && match.captured(2) != "0 0 0 0 0 0 0") {
                rows += match.captured(2) + "|";
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
