#include "sequence/SequenceModel.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <sstream>
#include <string>

#include "ChildRun.h"
#include "TestFiles.h"
#include "common/LeadingNumber.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

// A sequence of `count` characters, character n drawn with row A = n and lasting 1 s.
std::string sequenceFile(int count) {
    std::string bytes = "[Caract\xE8res]\r\nNombre=" + std::to_string(count) + "\r\n";
    for (int n = 1; n <= count; ++n) {
        bytes +=
            "Caract\xE8re" + std::to_string(n) + "=" + std::to_string(n) + ";0;0;0;0;0;0;1\r\n";
    }
    return bytes;
}

// The model on a working file of its own, with what the window would show.
class SequenceTest : public testing::Test {
  protected:
    void SetUp() override { apply(model.restart()); }

    void apply(const Step& step) {
        last = step;
        if (step.kind == Step::Moved) {
            display = step.record;
        }
    }
    // Validates what is shown, drawn as row A = the number shown.
    Step validate(const std::string& duration = "1") {
        apply(model.validate({model.shownNumber(), 0, 0, 0, 0, 0, 0}, duration));
        return last;
    }
    void load(const std::string& bytes) {
        writeBytes(path, bytes);
        apply(model.loaded());
    }
    int16_t nombre() const {
        return roundToInt16(leadingNumber(LireIni("Caractères", "Nombre", path)));
    }

    // Runs actions separated by blanks and returns, after each, the number shown, then "_" when
    // the grid shows no stored character and "!" when the window beeped:
    //   v validate   < Previous   > Next   p start or stop the preview   t a preview tick
    //   n New   d a download   L<k> load a file of k characters
    std::string run(const std::string& actions) {
        std::istringstream in(actions);
        std::string trace;
        for (std::string action; in >> action;) {
            last = {};
            switch (action[0]) {
                case 'v':
                    validate();
                    break;
                case '<':
                    apply(model.previous());
                    break;
                case '>':
                    apply(model.next());
                    break;
                case 'p':
                    interval = model.togglePreview(splitRecord(display).rest).intervalMs;
                    break;
                case 'n':
                    apply(model.restart());
                    break;
                case 'd':
                    model.downloaded(nombre());
                    break;
                case 'L':
                    load(sequenceFile(std::stoi(action.substr(1))));
                    break;
                case 't': {
                    const Tick tick = model.tick();
                    display = tick.record;
                    interval = tick.intervalMs;
                    break;
                }
            }
            const int rowA = static_cast<int>(leadingNumber(display));
            trace += (trace.empty() ? "" : " ") + std::to_string(model.shownNumber());
            if (rowA == 0) {
                trace += "_";
            } else if (rowA != model.shownNumber()) {
                trace += "?" + std::to_string(rowA);  // the grid and the label disagree
            }
            trace += last.kind == Step::AtEnd ? "!" : "";
        }
        return trace;
    }

    TempFolder folder;
    std::string path = folder.file("MessageTemporaire.car");
    SequenceModel model{path};
    Step last;
    std::string display;
    int32_t interval = -1;
};

struct Flow {
    const char* name;
    const char* actions;
    const char* trace;
    int stored;
};

const Flow kFlows[] = {
    {"validations append; the preview plays them, never the open one", "v v v p t t t t",
     "2_ 3_ 4_ 4_ 1 2 3 1", 3},
    {"re-validating character 1 of a loaded file keeps its 3", "L3 v p t t t t", "1 2 2 1 2 3 1",
     3},
    {"a download keeps every character in the preview", "v v v d p t t t t",
     "2_ 3_ 4_ 4_ 4_ 1 2 3 1", 3},
    {"a download during the preview shortens nothing", "v v v p t t d t t t",
     "2_ 3_ 4_ 4_ 1 2 2 3 1 2", 3},
    {"Next reaches the open position after a Load", "L3 > > > >", "1 2 3 4_ 4_!", 3},
    {"Next reaches the open position after a download", "v v < < d > > >", "2_ 3_ 2 1 1 2 3_ 3_!",
     2},
    {"Next stops at the open position after a validation", "v > < <", "2_ 2_! 1 1!", 1},
    {"Previous stops at 1 on a fresh start", "< >", "1_! 1_!", 0},
    {"editing an earlier character keeps the count", "v v v v v < < < < v v",
     "2_ 3_ 4_ 5_ 6_ 5 4 3 2 3 4", 5},
    {"with nothing stored the preview shows the missing character 1", "p t t", "1_ 1_ 1_", 0},
    {"New empties the sequence under a playing preview", "v v p t n t v t", "2_ 3_ 3_ 1 1_ 1_ 2_ 1",
     1},
    {"a Load restarts a playing preview from 1", "v v v p t t L5 t t", "2_ 3_ 4_ 4_ 1 2 1 1 2", 5},
    {"Next during the preview skips ahead from the next character", "L5 p t > t t", "1 1 1 3 3 4",
     5},
    {"Next during the preview may show the open position, never a tick", "L2 p t t > > > t",
     "1 1 1 2 2 3_ 3_! 1", 2},
    {"the buttons act on the number shown once the preview stops", "v v v < < < p t p > < p t p v",
     "2_ 3_ 4_ 3 2 1 1 1 1 2 1 1 1 1 2", 3},
    {"a validation during the preview stores the character shown", "L3 p t t v t", "1 1 1 2 4_ 1",
     3},
};

class SequenceFlowTest : public SequenceTest, public testing::WithParamInterface<Flow> {};

TEST_P(SequenceFlowTest, ShowsAndCounts) {
    EXPECT_EQ(run(GetParam().actions), GetParam().trace) << GetParam().name;
    EXPECT_EQ(model.storedCount(), GetParam().stored);
    EXPECT_EQ(nombre(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Flows, SequenceFlowTest, testing::ValuesIn(kFlows));

TEST_F(SequenceTest, ThreeValidationsWriteTheFileAsBefore) {
    apply(model.validate({31, 1, 1, 15, 1, 1, 1}, "1,5"));
    apply(model.validate({4, 10, 17, 17, 31, 17, 17}, "0,75"));
    apply(model.validate({0, 0, 0, 0, 0, 0, 16}, " 0.5 "));
    EXPECT_EQ(readBytes(path),
              "[Caract\xE8res]\r\nNombre=3\r\n"
              "Caract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
              "Caract\xE8re2=4;10;17;17;31;17;17;0.75\r\n"
              "Caract\xE8re3=0;0;0;0;0;0;16;0.5\r\n");
    EXPECT_EQ(last.number, 4);
    EXPECT_EQ(last.record, kBlankRecord);
}

TEST_F(SequenceTest, TheDurationIsStoredWithItsFirstCommaTurnedIntoAPoint) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"0,75", "0.75"}, {"  1,5  ", "1.5"}, {"1,5,2", "1.5,2"},
                 {"", ""},         {"\t2 ", "\t2"},    {"abc", "abc"}};
    for (const auto& c : cases) {
        validate(c.typed);
        EXPECT_EQ(model.previous().record, std::string("1;0;0;0;0;0;0;") + c.stored) << c.typed;
    }
}

TEST_F(SequenceTest, TheFirstIntervalComesFromTheTypedDuration) {
    const struct {
        const char* typed;
        int32_t interval;
    } cases[] = {{" 0,25 ", 250}, {"2", 2000},       {"-1", 0},          {"0", 0},
                 {"0.0004", 0},   {"1e9", 86400000}, {"99999", 86400000}};
    for (const auto& c : cases) {
        EXPECT_EQ(model.togglePreview(c.typed).intervalMs, c.interval) << c.typed;
        EXPECT_FALSE(model.togglePreview(c.typed).playing);
    }
}

TEST_F(SequenceTest, EachTickLastsItsCharactersDurationAndAStopEndsTheTicks) {
    for (const char* duration : {"0.5", "2", "1.25"}) {
        validate(duration);
    }
    model.togglePreview("1");
    for (const int32_t expected : {500, 2000, 1250, 500}) {
        EXPECT_EQ(model.tick().intervalMs, expected);
    }
    model.togglePreview("");
    const Tick stopped = model.tick();
    EXPECT_EQ(stopped.number, 2);
    EXPECT_EQ(stopped.intervalMs, 0);
    EXPECT_EQ(model.currentNumber(), 3);
    EXPECT_FALSE(model.playing());
}

TEST_F(SequenceTest, AMissingCharacterStallsThePreview) {
    load("[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=1;0;0;0;0;0;0;1\r\n");
    model.togglePreview("1");
    EXPECT_EQ(model.tick().intervalMs, 1000);
    const Tick missing = model.tick();
    EXPECT_EQ(missing.record, "");
    EXPECT_EQ(missing.intervalMs, 0);
}

TEST_F(SequenceTest, ALoadTakesNombreAsTheCountAndShowsCharacter1) {
    const struct {
        std::string bytes;
        int16_t count;
        const char* first;
    } cases[] = {
        {"[Caract\xE8res]\r\nNombre=2.5\r\nCaract\xE8re1=3;0;1\r\n", 2, "3;0;1"},
        {"Nombre=3\r\nCaract\xE8re1=1;1;1;1;1;1;1;1\r\n", 0, ""},  // no section
        {"[Caract\xE8res]\r\nNombre=40\r\n", 40, ""},
        {"[Caract\xE8res]\r\nNombre=1e9\r\n", 0, ""},
        {"[Caract\xE8res]\r\nNombre=-5\r\n", 0, ""},
    };
    for (const auto& c : cases) {
        load(c.bytes);
        EXPECT_EQ(model.storedCount(), c.count) << c.bytes;
        EXPECT_EQ(last.number, 1) << c.bytes;
        EXPECT_EQ(last.record, c.first) << c.bytes;
    }
}

TEST_F(SequenceTest, NumbersStopAtTheLargest16BitValue) {
    load("[Caract\xE8res]\r\nNombre=32767\r\n");
    while (model.next().kind == Step::Moved) {
    }
    EXPECT_EQ(model.shownNumber(), 32767);
    const std::string before = readBytes(path);
    EXPECT_EQ(validate().kind, Step::AtEnd);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(model.shownNumber(), 32767);
}

// What the validation of character 2 left: its outcome, the numbers and the reason told.
std::string outcome(const Step& step, const SequenceModel& model) {
    return std::to_string(step.kind) + " shown " + std::to_string(model.shownNumber()) +
           " stored " + std::to_string(model.storedCount()) + ": " + frenchDescription(step.error);
}

class ValidationFailureTest : public SequenceTest {
  protected:
    void SetUp() override {
        SequenceTest::SetUp();
        validate();
        before = readBytes(path);
    }
    // The failure leaves everything as it was, and the next validation tries again.
    void expectUnchangedThenRetried(const std::string& outcomeText, const std::string& reason) {
        EXPECT_EQ(outcomeText, "2 shown 2 stored 1: « " + path + " » : " + reason);
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(folder.listing(), ".MessageTemporaire.car.lock MessageTemporaire.car");
        EXPECT_EQ(validate().kind, Step::Moved);
        EXPECT_EQ(nombre(), 2);
    }
    std::string before;
};

TEST_F(ValidationFailureTest, TheWorkingFileReplacedByAFolder) {
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    const Step step = validate();
    const std::string text = outcome(step, model);
    EXPECT_EQ(notStoredMessage(step.error),
              "Ce caractère n'a pas pu être enregistré dans la séquence.\r\n« " + path +
                  " » : c'est un dossier et non un fichier.\r\nIl est toujours affiché : "
                  "valide-le à nouveau, et préviens ton professeur si cela recommence.");
    ASSERT_EQ(::rmdir(path.c_str()), 0);
    writeBytes(path, before);
    expectUnchangedThenRetried(text, "c'est un dossier et non un fichier");
}

TEST_F(ValidationFailureTest, AReadOnlyFolder) {
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const std::string text =
        inChild([&] { return outcome(validate(), model); }, {.unprivileged = true});
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    if (text == "child setup failed") {
        GTEST_SKIP() << "cannot run as an unprivileged user, so the folder stays writable";
    }
    expectUnchangedThenRetried(text, "l'accès est refusé");
}

TEST_F(ValidationFailureTest, AFullDisk) {
    const auto size = static_cast<long>(before.size());
    const std::string text =
        inChild([&] { return outcome(validate(), model); }, {.maxFileSize = size});
    expectUnchangedThenRetried(text, "le disque est plein");
}

}  // namespace
