#include "sequence/SequenceModel.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string>

#include "TestFiles.h"
#include "common/LeadingNumber.h"
#include "common/Utf8Path.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

namespace fs = std::filesystem;

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
                    model.togglePreview(splitRecord(display).rest);
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
                case 't':
                    display = model.tick().record;
                    break;
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
};

struct Flow {
    const char* name;  // what the flow shows, as the test's name
    const char* actions;
    const char* trace;
    int stored;
};

const Flow kFlows[] = {
    {"ValidationsAppendThePreviewPlaysThemNeverTheOpenOne", "v v v p t t t t",
     "2_ 3_ 4_ 4_ 1 2 3 1", 3},
    {"ReValidatingCharacter1OfALoadedFileKeepsIts3", "L3 v p t t t t", "1 2 2 1 2 3 1", 3},
    {"ADownloadDuringThePreviewShortensNothing", "v v v p t t d t t t", "2_ 3_ 4_ 4_ 1 2 2 3 1 2",
     3},
    {"NextReachesTheOpenPositionAfterALoad", "L3 > > > >", "1 2 3 4_ 4_!", 3},
    {"NextReachesTheOpenPositionAfterADownload", "v v < < d > > >", "2_ 3_ 2 1 1 2 3_ 3_!", 2},
    {"PreviousStopsAt1NextAtTheOpenPosition", "< > v > < <", "1_! 1_! 2_ 2_! 1 1!", 1},
    {"WithNothingStoredThePreviewShowsTheMissingCharacter1", "p t t", "1_ 1_ 1_", 0},
    {"NewEmptiesTheSequenceUnderAPlayingPreview", "v v p t n t v t", "2_ 3_ 3_ 1 1_ 1_ 2_ 1", 1},
    {"ALoadRestartsAPlayingPreviewFrom1", "v v v p t t L5 t t", "2_ 3_ 4_ 4_ 1 2 1 1 2", 5},
    {"NextDuringThePreviewSkipsAheadFromTheNextCharacter", "L5 p t > t t", "1 1 1 3 3 4", 5},
    {"NextDuringThePreviewMayShowTheOpenPositionNeverATick", "L2 p t t > > > t",
     "1 1 1 2 2 3_ 3_! 1", 2},
    {"TheButtonsActOnTheNumberShownOnceThePreviewStops", "v v v < < < p t p > < p t p v",
     "2_ 3_ 4_ 3 2 1 1 1 1 2 1 1 1 1 2", 3},
    {"AValidationDuringThePreviewStoresTheCharacterShown", "L3 p t t v t", "1 1 1 2 4_ 1", 3},
};

class SequenceFlowTest : public SequenceTest, public testing::WithParamInterface<Flow> {};

TEST_P(SequenceFlowTest, ShowsAndCounts) {
    EXPECT_EQ(run(GetParam().actions), GetParam().trace);
    EXPECT_EQ(model.storedCount(), GetParam().stored);
    EXPECT_EQ(nombre(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Flows, SequenceFlowTest, testing::ValuesIn(kFlows),
                         [](const auto& flow) { return std::string(flow.param.name); });

// The typed duration is stored with its first comma turned into a point, leading blanks gone.
TEST_F(SequenceTest, ValidationsWriteTheFileAsBefore) {
    apply(model.validate({31, 1, 1, 15, 1, 1, 1}, "  1,5  "));
    apply(model.validate({4, 10, 17, 17, 31, 17, 17}, "1,5,2"));
    apply(model.validate({0, 0, 0, 0, 0, 0, 16}, "\t2 "));
    apply(model.validate({0, 0, 0, 0, 0, 0, 0}, ""));
    EXPECT_EQ(readBytes(path),
              "[Caract\xE8res]\r\nNombre=4\r\n"
              "Caract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
              "Caract\xE8re2=4;10;17;17;31;17;17;1.5,2\r\n"
              "Caract\xE8re3=0;0;0;0;0;0;16;\t2\r\n"
              "Caract\xE8re4=0;0;0;0;0;0;0;\r\n");
    EXPECT_EQ(last.number, 5);
    EXPECT_EQ(last.record, kBlankRecord);
    EXPECT_EQ(model.togglePreview(" 0,25 ").intervalMs, 250);
}

TEST_F(SequenceTest, EachTickLastsItsCharactersDurationAndAMissingOneStalls) {
    load(
        "[Caract\xE8res]\r\nNombre=3\r\nCaract\xE8re1=1;0;0;0;0;0;0;0.5\r\n"
        "Caract\xE8re2=2;0;0;0;0;0;0;1.25\r\n");
    model.togglePreview("2");
    EXPECT_EQ(model.tick().intervalMs, 500);
    EXPECT_EQ(model.tick().intervalMs, 1250);
    const Tick missing = model.tick();
    EXPECT_EQ(missing.record, "");
    EXPECT_EQ(missing.intervalMs, 0);
    model.togglePreview("");
    const Tick stopped = model.tick();
    EXPECT_EQ(stopped.number, 1);
    EXPECT_EQ(stopped.intervalMs, 0);
    EXPECT_FALSE(model.playing());
}

TEST_F(SequenceTest, ALoadTakesNombreAsTheCountAndShowsCharacter1) {
    const struct {
        std::string bytes;
        int16_t count;
        const char* first;
    } cases[] = {
        {"[Caract\xE8res]\r\nNombre=2.5\r\nCaract\xE8re1=3;0;1\r\n", 2, "3;0;1"},
        {"Nombre=3\r\nCaract\xE8re1=1;1;1;1;1;1;1;1\r\n", 0, ""},  // no section
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
    const std::string before = readBytes(path);
    EXPECT_EQ(validate().kind, Step::AtEnd);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(model.shownNumber(), 32767);
}

// A validation whose write fails (why it fails is the storage's tests') changes nothing, tells
// the file and the reason, and the next validation tries again.
TEST_F(SequenceTest, AFailedValidationChangesNothing) {
    validate();
    const std::string before = readBytes(path);
    ASSERT_TRUE(fs::remove(utf8Path(path)) && fs::create_directory(utf8Path(path)));
    const Step failed = validate();
    EXPECT_EQ(std::tuple(failed.kind, model.shownNumber(), model.storedCount()),
              std::tuple(Step::NotStored, 2, 1));
    EXPECT_EQ(notStoredMessage(failed.error),
              "Ce caractère n'a pas pu être enregistré dans la séquence.\r\n« " + path +
                  " » : c'est un dossier et non un fichier.\r\nIl est toujours affiché : "
                  "valide-le à nouveau, et préviens ton professeur si cela recommence.");
    ASSERT_TRUE(fs::remove(utf8Path(path)));
    writeBytes(path, before);
    EXPECT_EQ(folder.listing(), ".MessageTemporaire.car.lock MessageTemporaire.car");
    EXPECT_EQ(validate().kind, Step::Moved);
    EXPECT_EQ(nombre(), 2);
}

}  // namespace
