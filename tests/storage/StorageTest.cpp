#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "ChildRun.h"
#include "TestFiles.h"
#include "storage/FichIni.h"
#include "storage/FileAccess.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceRecords.h"
#include "storage/WorkingFolder.h"

namespace {

using namespace std::literals;
const std::string kSection = "Caractères", kHead = "[Caract\xE8res]\r\n";

TEST(IniReadTest, ReadsAsWindowsDoes) {
    // A file, keys of its section "Caractères" and their values, each followed by "|".
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"k=0\r\n[Caract\xC8res]\r\nk=1\r\n" + kHead + "k=2\r\nk=3\r\n[A\r\nm=4\r\n" + kHead +
             "p=6",
         "k|m|p", "2|4||"},
        {" [ CARACT\xE8RES ] ;\r\n NomBre \t=  a  b \t\r\nb\r\nb=1\r\nq=\" a \"\r\nr= "
         "'3\"\r\nt=a=b",
         "\tnombre |b|q|r|t", "a  b|| a |'3\"|a=b|"},
        {"[Caract\xE8res]\rn=1\0z\nk=\xE9t\xE9 \x80\r\nc=\xE9"s + std::string(130, 'x'), "n|k|c",
         "1|été €|é" + std::string(125, 'x') + "|"},
        {"\xEF\xBB\xBF[Caractères]\r\nk=é;\xFF\r\n", "k", "é;?|"},
        {"[Caractères]\nCaractère1=é" + std::string(130, 'x'), "Caractère1",
         "é" + std::string(125, 'x') + "|"},
    };
    for (const auto& [file, keys, expected] : cases) {
        std::istringstream keyList(keys);
        std::string values;
        for (std::string key; std::getline(keyList, key, '|');)
            values += iniValueOf(file, " Caractères ", key) + "|";
        EXPECT_EQ(values, expected) << file;
    }
}

TEST(IniWriteTest, WritesGiveTheExampleFilesByteForByteAndRefuseUnsafeKeys) {
    for (const std::string name : {"lf-endings", "utf8-bom", "other-sections"}) {
        TempFolder folder;
        const std::string path = folder.file("MessageTemporaire.car");
        writeBytes(path, testData("ini/" + name + ".car"));
        EXPECT_EQ(EcrireIni(kSection, "Nombre", "2", path), 1);
        EXPECT_EQ(EcrireIni(kSection, "Caractère2", "31;0;0;0;0;0;31;1.5", path), 1);
        EXPECT_EQ(readBytes(path), testData("ini/" + name + ".expected.car"));
    }
    // A key is replaced where it stands; a name or value adding lines of its own is refused.
    EXPECT_EQ(withIniValue(kHead + "  nombre = 1 \nNombre=9\r\nx=1", kSection, " NOMBRE ", "é"),
              kHead + "nombre=\xE9\nNombre=9\r\nx=1");
    for (const std::string_view value : {"1\r\n[Autre]"sv, "1\nx=1"sv, "1\rx=9"sv, "1\0z"sv})
        EXPECT_EQ(withIniValue(kHead, kSection, "Nombre", value), std::nullopt) << value;
    for (const std::string key : {"Nombre\r\nx", "a=b", "[x", ";x", " "})
        EXPECT_EQ(withIniValue(kHead, kSection, key, "1"), std::nullopt) << key;
    for (const std::string section : {"Carac]t", ""})
        EXPECT_EQ(withIniValue(kHead, section, "Nombre", "1"), std::nullopt) << section;
}

// The editor reads a whole sequence in one pass: each record exactly as LireIni reads it.
TEST(SequenceRecordsTest, AWholeReadAgreesWithLireIniAndAWriteReadsBack) {
    const std::string files[] = {
        kHead +
            "Nombre=4\r\ncaract\xC8re1=x\r\nCARACT\xE8RE1=a\r\nCaract\xE8re1=b\r\n"
            "Caract\xE8re02=z\r\n Caract\xE8re3 = ' q ' \r\nCaract\xE8re4=" +
            std::string(130, '4') + "\r\n" + kHead + "Caract\xE8re2=late\r\n",
        "\xEF\xBB\xBF[Caractères]\nCaractère2=é\nCaractère3=\xFF\n",
        "[Caractères]\nCaractère1=ω\n[Autre]\nCaractère2=2\n",
        "Caract\xE8re1=sans section\r\n",
    };
    for (const std::string& file : files) {
        const std::vector<std::string> records = sequenceRecordsOf(file, 4);
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(records.at(n - 1),
                      iniValueOf(file, kSection, "Caractère" + std::to_string(n)))
                << n << " " << file;
    }
    const std::vector<std::string> written = {"1;2;3;4;5;6;7;0.5", "", "0;0;0;0;0;0;0;1 €"};
    const std::string bytes = sequenceFileBytes(written);
    EXPECT_EQ(bytes, kHead +
                         "Nombre=3\r\nCaract\xE8re1=1;2;3;4;5;6;7;0.5\r\nCaract\xE8re2=\r\n"
                         "Caract\xE8re3=0;0;0;0;0;0;0;1 \x80\r\n");
    EXPECT_EQ(sequenceRecordsOf(bytes, 3), written);
}

// Two windows validating at once: each write reads, changes and replaces the whole file.
TEST(IniWriteTest, TwoProcessesWritingDifferentKeysAtOnceLoseNone) {
    TempFolder folder;
    const std::string path = folder.file("MessageTemporaire.car");
    const pid_t other = ::fork();
    bool written = true;
    for (int key = other == 0 ? 100 : 0, end = key + 100; key < end; ++key)
        written &= EcrireIni(kSection, std::to_string(key), "v", path) == 1;
    if (other == 0)
        ::_exit(written ? 0 : 1);
    int status = -1;
    EXPECT_TRUE(::waitpid(other, &status, 0) == other && status == 0 && written);
    for (int key = 0; key < 200; ++key)
        EXPECT_EQ(LireIni(kSection, std::to_string(key), path), "v") << "lost " << key;
}

// A write replaces its file whole or not at all, keeps its permissions, and leaves no temporary
// file, nor a lock after a refusal. Only a regular file is read: a pipe cannot block it.
TEST(SequenceFileTest, ACopyReplacesItsFileWholeOrNotAtAll) {
    TempFolder folder;
    const std::string path = folder.file("s.car"), dir = folder.file("d"), fifo = folder.file("f"),
                      readOnly = dir + "/s.car";
    ASSERT_EQ(::mkdir(dir.c_str(), 0755) + ::mkfifo(fifo.c_str(), 0600), 0);
    writeBytes(path, "ancien");
    writeBytes(readOnly, "ancien");
    ASSERT_EQ(::chmod(path.c_str(), 0640) + ::chmod(dir.c_str(), 0555), 0);
    const auto write = [](const std::string& file, const std::string& bytes, ChildLimits limits) {
        return inChild([&] { return std::to_string(writeFileAtomically(file, bytes)); }, limits);
    };
    EXPECT_EQ(write(readOnly, "x", {.unprivileged = true}), std::to_string(EACCES));
    EXPECT_EQ(write(path, std::string(200, 'z'), {.maxFileSize = 100}), std::to_string(EFBIG));
    EXPECT_TRUE(copyFileAtomically(path, path).ok());
    const FileOpResult fromPipe = copyFileAtomically(fifo, path);
    EXPECT_EQ(fromPipe.failure, FileOpResult::Failure::SourceUnreadable);
    EXPECT_EQ(fromPipe.error.number, kNotRegularFile);
    EXPECT_EQ(writeFileAtomically(fifo, "x"), kNotRegularFile);
    EXPECT_EQ(EcrireIni(kSection, {{"Nombre", "1"}, {"k", "\n"}}, path).number, EINVAL);
    EXPECT_EQ(EcrireIni(kSection, "Nombre", "1", folder.file("absent/s.car")), 0);
    EXPECT_EQ(readBytes(path) + readBytes(readOnly), "ancienancien");

    EXPECT_EQ(writeFileAtomically(path, "court") +
                  writeFileAtomically(folder.file(std::string(255, 'n')), "x"),
              0);
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0, 0640u);
    EXPECT_EQ(readBytes(path) + "|" + folder.listing(),
              "court|d f " + std::string(255, 'n') + " s.car");
}

// The pupil first, on a program folder installed for all, then the teacher on a writable one.
TEST(WorkingFolderTest, TheProgramFolderIfWritableAndFreeElseThePupilsOwn) {
    TempFolder program{"vexlo-programme"}, home{"vexlo-eleve"};
    const UserFolders user{home.file(".local/share"), home.file("Documents")};
    const std::string own = user.data + "/vexlo", documents = user.documents + "/Travail";
    writeBytes(program.file("Makefile"), "all:\n");
    const auto take = [&] {
        const WorkingFolder f = WorkingFolder::take(program.path(), user);
        return f.workingFolder() + " | " + f.workFolder() + " | " +
               std::to_string(f.error().number) + " " + f.error().path;
    };
    const auto takeAsPupil = [&] { return inChild(take, {.unprivileged = true}); };
    ASSERT_EQ(::chmod(program.path().c_str(), 0555) + ::chmod(home.path().c_str(), 0555), 0);
    EXPECT_EQ(takeAsPupil(), own + " | " + documents + " | " + std::to_string(EACCES) + " " + own);
    ASSERT_EQ(::chmod(home.path().c_str(), 0777), 0);
    EXPECT_EQ(takeAsPupil(), own + " | " + documents + " | 0 ");
    EXPECT_TRUE(readBytes(own + "/Makefile") == "all:\n" && exists(documents));

    ASSERT_EQ(::chmod(program.path().c_str(), 0755), 0);
    for (const char* name :
         {".MessageTemporaire.car.k3j9x0ab.tmp", ".AfficheurCarac.c.00000000.tmp",
          ".autre.car.k3j9x0ab.tmp", ".MessageTemporaire.car.court.tmp"})
        writeBytes(program.file(name), "x");
    const std::string work = program.file("Travail");
    ASSERT_TRUE(std::filesystem::create_directory(work));
    for (const char* name : {"/.essai.car.k3j9x0ab.tmp", "/.essai.car.a1b2c3d4.tmp"})
        writeBytes(work + name, "x");  // a Save killed long ago, and one maybe under way
    std::filesystem::last_write_time(work + "/.essai.car.k3j9x0ab.tmp",
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::seconds(kStaleTemporarySeconds + 1));
    {
        const WorkingFolder first = WorkingFolder::take(program.path(), user);
        EXPECT_EQ(program.listing(),  // what killed writes left, and only that, is gone
                  ".MessageTemporaire.car.court.tmp .autre.car.k3j9x0ab.tmp .vexlo.lock Makefile "
                  "Travail");
        EXPECT_EQ(readBytes(work + "/.essai.car.a1b2c3d4.tmp") +
                      readBytes(work + "/.essai.car.k3j9x0ab.tmp"),
                  "x");
        const WorkingFolder second = WorkingFolder::take(program.path(), user);
        EXPECT_EQ(second.heldByAnother() + " " + second.workingFolder(),
                  program.path() + " " + own + "/fenêtre-2");
        EXPECT_EQ(take(), own + "/fenêtre-3 | " + work + " | 0 ");
    }
    EXPECT_EQ(take(), program.path() + " | " + work + " | 0 ");
}

}  // namespace
