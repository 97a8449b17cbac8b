// Downloads from the window to the virtual module with the real module kit: the generated
// source, make, avr-gcc, avrdude, and vexlo-module without a window, whose lines tell what each
// module showed.

#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "AppTestSupport.h"
#include "console/ChildProcess.h"

namespace {

// F, J and 4, none symmetric, no row alike between neighbours.
struct Drawn {
    std::vector<int> rows;
    const char* typed;
    double ms;
};
const std::vector<Drawn> sequence = {
    {{31, 1, 1, 15, 1, 1, 1}, "0,4", 400},
    {{16, 16, 16, 16, 16, 17, 14}, "0,8", 800},
    {{8, 12, 10, 9, 31, 8, 8}, "0,4", 400},
};

struct Shown {
    double start;
    double duration;
    std::vector<int> rows;
};

// vexlo-module --headless as a child process, found by the module Makefile through the port
// file the test names.
class HeadlessModule {
  public:
    HeadlessModule(int modules, const QString& portFile) : savedPortFile_(qgetenv(kPortFile)) {
        qputenv(kPortFile, portFile.toUtf8());
        process_.start("\"" VEXLO_PROGRAM_DIR "/vexlo-module\" --headless --modules " +
                           std::to_string(modules),
                       "", false);
    }
    ~HeadlessModule() {
        process_.kill();
        qputenv(kPortFile, savedPortFile_);
    }

    void plugCable(int module) { process_.writeInput("cable " + std::to_string(module) + "\n"); }

    // What module `module` (from 1) showed so far, the dark waits left out.
    std::vector<Shown> shown(int module) {
        std::string piece;
        while (process_.read(ChildProcess::Stream::Output, piece) ==
               ChildProcess::ReadStatus::Data) {
            output_ += piece;
        }
        std::vector<Shown> characters;
        for (std::size_t start = 0, end; (end = output_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            int number = 0;
            Shown line{0, 0, std::vector<int>(7)};
            auto& r = line.rows;
            if (std::sscanf(output_.c_str() + start,
                            "module %d start %lf duration %lf rows %d %d %d %d %d %d %d", &number,
                            &line.start, &line.duration, &r[0], &r[1], &r[2], &r[3], &r[4], &r[5],
                            &r[6]) == 10 &&
                number == module && line.rows != std::vector<int>(7)) {
                characters.push_back(line);
            }
        }
        return characters;
    }

  private:
    static constexpr const char* kPortFile = "VEXLO_MODULE_PORT_FILE";
    QByteArray savedPortFile_;
    ChildProcess process_;
    std::string output_;
};

const QString kSuccessText = QStringLiteral("Programmation réussie.\r\nRegarde ton afficheur.");

class VirtualModuleTest : public WindowTest {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("avr-gcc").isEmpty() ||
            QStandardPaths::findExecutable("avrdude").isEmpty()) {
            GTEST_SKIP() << "avr-gcc or avrdude missing";
        }
        WindowTest::SetUp();
        for (const Drawn& character : sequence) {
            draw(character.rows, QString::fromUtf8(character.typed));
            click("CBCaracOk");
        }
    }
    void download() {
        seam.messages.clear();
        click("CBDescendre");
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].prompt, kSuccessText);
    }
    QString portFile() const { return file("vexlo-module.port"); }
};

TEST_F(VirtualModuleTest, MasterThenSlaveOneStepBehind) {
    HeadlessModule chain(2, portFile());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(portFile()); }, 10000));

    download();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chain.shown(1).size() >= 6; }, 30000));
    const std::vector<Shown> master = chain.shown(1);
    for (std::size_t n = 0; n < 6; ++n) {
        EXPECT_EQ(master[n].rows, sequence[n % 3].rows) << "character " << n;
        EXPECT_NEAR(master[n].duration, sequence[n % 3].ms, 1.0) << "character " << n;
    }

    chain.plugCable(2);
    control<QRadioButton>("MaitreEsclave1")->click();
    setText("TRetard", "1");
    download();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chain.shown(2).size() >= 3; }, 30000));
    const std::vector<Shown> slave = chain.shown(2), masterNow = chain.shown(1);
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(slave[n].rows, sequence[n].rows) << "slave character " << n;
        const auto along = std::find_if(masterNow.begin(), masterNow.end(), [&](const Shown& m) {
            return std::abs(m.start + 2 - slave[n].start) < 1.5;  // from 2 ms, at its next row
        });
        ASSERT_NE(along, masterNow.end()) << "slave character " << n;
        EXPECT_EQ(along->rows, sequence[(n + 1) % 3].rows) << "slave character " << n;
        EXPECT_NEAR(slave[n].duration, along->duration, 1.0) << "slave character " << n;
    }
}

TEST_F(VirtualModuleTest, NoModuleRunningIsACommunicationError) {
    const QByteArray saved = qgetenv("VEXLO_MODULE_PORT_FILE");
    qputenv("VEXLO_MODULE_PORT_FILE", portFile().toUtf8());
    click("CBDescendre");
    qputenv("VEXLO_MODULE_PORT_FILE", saved);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].title, "Erreur de communication");
    EXPECT_TRUE(seam.messages[0].prompt.startsWith("L'afficheur ne répond pas."));
    EXPECT_TRUE(exists(folder.file("AfficheurCarac.hex")));
}

}  // namespace
