#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "ChildRun.h"
#include "TestFiles.h"
#include "sequence/SequenceModel.h"

// What only a POSIX system can do to a pupil's files: names in any bytes, permissions.
namespace {

// A sequence of two characters.
const std::string kTwo =
    "[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=1;0;0;0;0;0;0;1\r\n"
    "Caract\xE8re2=2;0;0;0;0;0;0;1\r\n";

// A name in another encoding than UTF-8 is opened as the system names it, and shown readable.
TEST(SequenceFilesTest, AFileNamedInBytesThatAreNotUtf8Loads) {
    TempFolder folder;
    SequenceModel model(folder.file("MessageTemporaire.car"));
    const std::string latin1 = folder.file("\xE9t\xE9.car");
    writeBytes(latin1, kTwo);
    EXPECT_EQ(model.load(latin1).kind, Step::Moved);
    EXPECT_EQ(model.storedCount(), 2);
    EXPECT_EQ(model.save(latin1 + "/x.car"),
              "La séquence n'a pas pu être sauvée.\r\n« " + folder.path() +
                  "/\xEF\xBF\xBDt\xEF\xBF\xBD.car/x.car » : un élément du chemin n'est pas un "
                  "dossier.");
}

// New and start-up empty the working file; one that cannot be deleted keeps the sequence true.
TEST(SequenceFilesTest, NewThatCannotDeleteTheFileKeepsTheSequenceAndSaysWhy) {
    TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
    const std::string result = inChild(
        [&folder] {
            const std::string own = folder.file("élève");
            SequenceModel pupil(own + "/MessageTemporaire.car");
            if (!becomeNobody() || ::mkdir(own.c_str(), 0755) != 0) {
                return std::string("no child folder");
            }
            pupil.restart();
            pupil.validate({1, 0, 0, 0, 0, 0, 0}, "1");
            ::chmod(own.c_str(), 0555);
            const Step step = pupil.newSequence();
            const Step again = SequenceModel(pupil.workingFile()).restart();
            return std::to_string(step.kind) + " " + std::to_string(pupil.storedCount()) + " " +
                   std::to_string(pupil.validate({2, 0, 0, 0, 0, 0, 0}, "1").kind) + " " +
                   step.message + "|" + std::to_string(again.number) + " " + again.record + " " +
                   again.message;
        },
        {});
    const std::string file = folder.file("élève/MessageTemporaire.car");
    EXPECT_EQ(result, std::to_string(Step::NotStored) + " 1 " + std::to_string(Step::NotStored) +
                          " La séquence n'a pas pu être effacée pour en commencer une.\r\n« " +
                          file +
                          " » : l'accès est refusé.\r\nLa séquence est restée comme elle était."
                          "|1 1;0;0;0;0;0;0;1 La séquence laissée par la séance précédente n'a "
                          "pas pu être effacée.\r\n« " +
                          file +
                          " » : l'accès est refusé.\r\nSes caractères sont repris ici ; préviens "
                          "ton professeur.");
}

}  // namespace
