#include "sequence/SequenceModel.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>

#include "TestFiles.h"
#include "common/LeadingNumber.h"
#include "common/ModuleLimits.h"
#include "common/Utf8Path.h"
#include "sequence/TextFont.h"
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
        writeBytes(source, bytes);
        apply(model.load(source));
    }
    int16_t nombre() const {
        return roundToInt16(leadingNumber(LireIni("Caractères", "Nombre", path)));
    }

    // The sequence as row A of each record ("_" for a blank one), checked against the file.
    std::string sequence() const {
        std::string text;
        EXPECT_EQ(nombre(), model.storedCount());
        for (int n = 1; n <= model.storedCount(); ++n) {
            const std::string& stored = model.records().at(static_cast<size_t>(n - 1));
            EXPECT_EQ(LireIni("Caractères", recordKey(n), path), stored) << n;
            const int rowA = static_cast<int>(leadingNumber(stored));
            text += (text.empty() ? "" : " ") + (rowA == 0 ? "_" : std::to_string(rowA));
        }
        return text;
    }

    // Runs actions separated by blanks and returns, after each, the number shown, then "_" when
    // the grid shows no stored character, "?k" when it shows the character first drawn as k,
    // "!" when the window beeped and "*" when it told a message:
    //   v validate   < Previous   > Next   p start or stop the preview   t a preview tick
    //   n New   d a download   L<k> load a file of k characters   u Undo   r Redo
    //   i insert a blank   x delete   D duplicate   [ ] move before, after   m<a>-<b> move a to b
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
                    apply(model.newSequence());
                    break;
                case 'u':
                    apply(model.undo());
                    break;
                case 'r':
                    apply(model.redo());
                    break;
                case 'i':
                    apply(model.insertBlank());
                    break;
                case 'x':
                    apply(model.deleteShown());
                    break;
                case 'D':
                    apply(model.duplicateShown());
                    break;
                case '[':
                case ']':
                    apply(model.moveShown(action[0] == '[' ? -1 : 1));
                    break;
                case 'm':
                    apply(model.move(
                        static_cast<int16_t>(std::stoi(action.substr(1))),
                        static_cast<int16_t>(std::stoi(action.substr(action.find('-') + 1)))));
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
            trace += last.message.empty() ? "" : "*";
        }
        return trace;
    }

    TempFolder folder;
    std::string path = folder.file("MessageTemporaire.car");
    std::string source = folder.file("chargée.car");
    SequenceModel model{path};
    Step last;
    std::string display;
};

struct Flow {
    const char* name;  // what the flow shows, as the test's name
    const char* actions;
    const char* trace;
    int stored;
    const char* sequence = nullptr;  // row A of each record, when the flow checks them
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
    // Edits act on the character shown and show where it went.
    {"InsertPutsABlankBeforeTheShownOne", "L3 > i", "1 2 2_", 4, "1 _ 2 3"},
    {"InsertAtTheOpenPositionAppends", "v i", "2_ 2_", 2, "1 _"},
    {"DeleteMovesTheRestUp", "L3 > x", "1 2 2?3", 2, "1 3"},
    {"DeletingTheLastShowsTheOpenPosition", "L3 > > x", "1 2 3 3_", 2, "1 2"},
    {"NothingToDeleteAtTheOpenPosition", "v x D ] [", "2_ 2_! 2_! 2_! 2_!", 1, "1"},
    {"DuplicateShowsTheCopy", "L3 > D", "1 2 3?2", 4, "1 2 2 3"},
    {"MovesStopAtBothEnds", "L3 [ ] ] ]", "1 1! 2?1 3?1 3?1!", 3, "2 3 1"},
    {"DraggingMovesOneAndShiftsTheOthers", "L4 m4-2 m1-3 m2-2 m5-1", "1 2?4 3?1 3?1! 3?1!", 4,
     "4 2 1 3"},
    // Undo and Redo walk every change of the stored sequence.
    {"UndoThenRedoDeletes", "L3 x x u u r", "1 1?2 1?3 1?2 1 1?2", 2, "2 3"},
    {"UndoBringsBackTheSequenceNewEmptied", "v v v n u", "2_ 3_ 4_ 1_ 4_", 3, "1 2 3"},
    {"UndoTakesBackALoad", "v L3 u r", "2_ 1 2_ 1", 3, "1 2 3"},
    {"UndoTakesBackAValidation", "v v u", "2_ 3_ 2_", 1, "1"},
    {"NothingToUndoOrRedoAtTheStart", "u r", "1_! 1_!", 0, ""},
    {"ANewChangeForgetsWhatCouldBeRedone", "v v u v r", "2_ 3_ 2_ 3_ 3_!", 2, "1 2"},
    {"UndoOfAMoveShowsItWhereItWas", "L3 ] ] u u", "1 2?1 3?1 2?1 1", 3, "1 2 3"},
};

class SequenceFlowTest : public SequenceTest, public testing::WithParamInterface<Flow> {};

TEST_P(SequenceFlowTest, ShowsAndCounts) {
    EXPECT_EQ(run(GetParam().actions), GetParam().trace);
    EXPECT_EQ(model.storedCount(), GetParam().stored);
    EXPECT_EQ(nombre(), GetParam().stored);
    if (GetParam().sequence != nullptr) {
        EXPECT_EQ(sequence(), GetParam().sequence);
    }
}

INSTANTIATE_TEST_SUITE_P(Flows, SequenceFlowTest, testing::ValuesIn(kFlows),
                         [](const auto& flow) { return std::string(flow.param.name); });

// The typed duration is stored with its first comma turned into a point, leading blanks gone.
TEST_F(SequenceTest, ValidationsWriteTheFileAsBefore) {
    apply(model.validate({31, 1, 1, 15, 1, 1, 1}, "  1,5  "));
    apply(model.validate({4, 10, 17, 17, 31, 17, 17}, "1,5,2"));
    apply(model.validate({0, 0, 0, 0, 0, 0, 16}, "\t2 "));
    apply(model.validate({0, 0, 0, 0, 0, 0, 0}, "6553,5 s"));
    EXPECT_EQ(readBytes(path),
              "[Caract\xE8res]\r\nNombre=4\r\n"
              "Caract\xE8re1=31;1;1;15;1;1;1;1.5\r\n"
              "Caract\xE8re2=4;10;17;17;31;17;17;1.5,2\r\n"
              "Caract\xE8re3=0;0;0;0;0;0;16;\t2\r\n"
              "Caract\xE8re4=0;0;0;0;0;0;0;6553.5 s\r\n");
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

// A refused file replaces nothing: the sequence, the file and the display stay.
TEST_F(SequenceTest, ALoadTakesNombreAsTheCountAndRefusesWhatNoSequenceHolds) {
    const struct {
        std::string bytes;
        Step::Kind kind;
        int16_t count;
        const char* first;
    } cases[] = {
        {"[Caract\xE8res]\r\nNombre=2.5\r\nCaract\xE8re1=3;0;1\r\n", Step::Moved, 2, "3;0;1"},
        {"Nombre=3\r\nCaract\xE8re1=1;1;1;1;1;1;1;1\r\n", Step::Moved, 0, ""},  // no section
        {"[Caract\xE8res]\r\nNombre=32767\r\n", Step::Moved, 32767, ""},
        {"[Caract\xE8res]\r\nNombre=40000\r\n", Step::Refused, 1, "1;0;0"},
        {"[Caract\xE8res]\r\nNombre=1e9\r\n", Step::Refused, 1, "1;0;0"},
        {"[Caract\xE8res]\r\nNombre=-1\r\n", Step::Refused, 1, "1;0;0"},
        {"[Caract\xE8res]\r\nNombre=1\r\n;" + std::string(kLargestSequenceFile, 'x'), Step::Refused,
         1, "1;0;0"},
    };
    for (const auto& c : cases) {
        load(sequenceFile(1));
        const std::string before = readBytes(path);
        load(c.bytes);
        EXPECT_EQ(std::tuple(last.kind, model.storedCount(), model.shownNumber()),
                  std::tuple(c.kind, c.count, 1))
            << c.bytes.substr(0, 40);
        EXPECT_EQ(display.substr(0, 5), c.first) << c.bytes.substr(0, 40);
        EXPECT_EQ(readBytes(path), c.kind == Step::Moved ? c.bytes : before);
    }
    load("[Caract\xE8res]\r\nNombre=40000\r\n");
    EXPECT_EQ(last.message, "Le fichier « " + source +
                                " » annonce « Nombre=40000 » : une séquence compte de 0 à 32767 "
                                "caractères.\r\nRien n'a été chargé.");
    load(std::string(kLargestSequenceFile + 1, ' '));
    EXPECT_EQ(last.message, "Le fichier « " + source +
                                " » est trop gros pour être une séquence de caractères (plus de "
                                "1 Mo).\r\nRien n'a été chargé.");
    EXPECT_EQ(model.load("").message, "Pas de fichier à ouvrir !!!");
}

// Durations the module cannot wait are refused with the reason; nothing is stored or moved.
TEST_F(SequenceTest, AValidationRefusesADurationTheModuleCannotWait) {
    const struct {
        const char* typed;
        const char* reason;  // empty: stored
    } cases[] = {
        {"", "aucune durée n'est tapée"},
        {"abc", "la durée « abc » n'est pas un nombre"},
        {" 0 ", "la durée « 0 » n'est pas plus grande que 0"},
        {"-1", "la durée « -1 » n'est pas plus grande que 0"},
        {"6553,6", "l'afficheur ne sait pas attendre « 6553,6 » secondes"},
        {"1e9", "l'afficheur ne sait pas attendre « 1e9 » secondes"},
        {"0,1", ""},
        {"6553,5", ""},
    };
    for (const auto& c : cases) {
        const std::string before = readBytes(path);
        const int16_t shown = model.shownNumber();
        validate(c.typed);
        if (*c.reason == '\0') {
            EXPECT_EQ(last.kind, Step::Moved) << c.typed;
            continue;
        }
        EXPECT_EQ(std::tuple(last.kind, model.shownNumber(), readBytes(path)),
                  std::tuple(Step::Refused, shown, before))
            << c.typed;
        EXPECT_EQ(last.message, "Ce caractère n'a pas été validé : " + std::string(c.reason) +
                                    ".\r\n" + durationAdvice() + ".");
    }
    EXPECT_EQ(sequence(), "1 2");
}

TEST_F(SequenceTest, UndoGoesAtLeast100StepsBack) {
    for (int n = 0; n < 110; ++n) {
        validate();
    }
    int undone = 0;
    while (model.undo().kind == Step::Moved) {
        ++undone;
    }
    EXPECT_GE(undone, 100);
    EXPECT_EQ(model.storedCount(), 110 - undone);
    EXPECT_EQ(nombre(), model.storedCount());
}

// Files padded to the largest size a Load takes keep fewer steps, not all the memory.
TEST_F(SequenceTest, UndoHoldsABoundedMemory) {
    const std::string padding = ";" + std::string(kLargestSequenceFile - 100, 'x') + "\r\n";
    for (int n = 0; n < 80; ++n) {
        load(sequenceFile(1 + n % 2) + padding);
        ASSERT_EQ(last.kind, Step::Moved);
    }
    size_t undone = 0;
    while (model.undo().kind == Step::Moved) {
        ++undone;
    }
    EXPECT_LE(undone * (kLargestSequenceFile - 100), kUndoBytes);
    EXPECT_GE(undone * kLargestSequenceFile, kUndoBytes / 2);
}

// The text's letters in the built-in font, one character each, added and undone as one step.
TEST_F(SequenceTest, ATextIsAppendedInOneStepOrRefusedWhole) {
    validate();
    apply(model.appendText("\xC3\x89t\xC3\xA9 !", " 0,5 "));
    EXPECT_EQ(std::tuple(last.kind, last.number, model.storedCount()),
              std::tuple(Step::Moved, 2, 6));
    EXPECT_EQ(model.records().at(1), formatRecord(*glyphOf(U'É'), "0.5"));
    EXPECT_EQ(model.records().at(4), formatRecord(*glyphOf(U' '), "0.5"));
    EXPECT_EQ(sequence().substr(0, 2), "1 ");
    const std::string after = readBytes(path);
    const struct {
        const char* text;
        const char* duration;
        const char* message;
    } refusals[] = {
        {"ok \xCF\x89\xE2\x98\xBA\xCF\x89\xFF", "1",
         "Le texte n'a pas été écrit : ces signes n'ont pas de dessin dans l'afficheur : "
         "« \xCF\x89\xE2\x98\xBA\xEF\xBF\xBD ».\r\nEnlève-les ou remplace-les."},
        {"", "1", "Le texte n'a pas été écrit : il est vide."},
        {"ok", "0", "Le texte n'a pas été écrit : la durée « 0 » n'est pas plus grande que 0."},
    };
    for (const auto& r : refusals) {
        apply(model.appendText(r.text, r.duration));
        EXPECT_EQ(last.kind, Step::Refused) << r.text;
        EXPECT_TRUE(last.message.starts_with(r.message)) << last.message;
    }
    EXPECT_EQ(readBytes(path), after);
    apply(model.undo());
    EXPECT_EQ(sequence(), "1");
}

// Save copies the working file whole, after clearing what killed Saves left in that folder.
TEST_F(SequenceTest, SaveCopiesTheFileAndClearsStaleTemporariesOfOurs) {
    EXPECT_TRUE(model.save(folder.file("vide.car")).starts_with("Il n'y a rien à sauver"));
    {  // what the pupil sees is saved even when the working file went away behind the window
        apply(model.validate({1, 0, 0, 0, 0, 0, 0}, "0,5"));
        const std::string before = readBytes(path);
        std::filesystem::remove(path);
        EXPECT_EQ(model.save(folder.file("gardé.car")), "");
        EXPECT_EQ(readBytes(folder.file("gardé.car")), before);
        apply(model.newSequence());
    }
    const TempFolder travail{"vexlo-travail"};
    const std::string& saves = travail.path();
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const char* name :
         {".a.car.k3j9x0ab.tmp", ".b.CAR.00000000.tmp", ".c.car.fresh000.tmp",
          ".d.txt.k3j9x0ab.tmp", ".e.car.K3J9X0AB.tmp", "f.car.k3j9x0ab.tmp", ".g.car.k3j9.tmp"}) {
        writeBytes(saves + "/" + name, "x");
        if (std::string_view(name) != ".c.car.fresh000.tmp") {
            std::filesystem::last_write_time(saves + "/" + name, old);
        }
    }
    load(sequenceFile(2));
    EXPECT_FALSE(model.modified());
    apply(model.validate({9, 0, 0, 0, 0, 0, 0}, "1"));
    EXPECT_TRUE(model.modified());
    EXPECT_EQ(model.save(saves + "/essai.car"), "");
    EXPECT_FALSE(model.modified());
    EXPECT_EQ(readBytes(saves + "/essai.car"), readBytes(path));
    model.undo();
    EXPECT_TRUE(model.modified());
    EXPECT_EQ(travail.listing(),
              ".c.car.fresh000.tmp .d.txt.k3j9x0ab.tmp .e.car.K3J9X0AB.tmp .g.car.k3j9.tmp "
              "essai.car f.car.k3j9x0ab.tmp");
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
    EXPECT_EQ(folder.listing(), "MessageTemporaire.car");
    EXPECT_EQ(validate().kind, Step::Moved);
    EXPECT_EQ(nombre(), 2);
}

}  // namespace
