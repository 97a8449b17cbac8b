#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "ChildRun.h"
#include "TestFiles.h"
#include "console/DOSClass.h"
#include "download/DownloadRun.h"
#include "download/OutputReading.h"
#include "download/OutputWatch.h"
#include "sequence/SequenceModel.h"
#include "storage/SequenceLayout.h"

namespace {

using namespace std::chrono_literals;
using Kind = DownloadResult::Kind;

struct ScopedVariable {  // sets (or, with nullopt, removes) a variable until the end of the scope
    ScopedVariable(const char* n, std::optional<std::string> value) : name(n) {
        if (const char* old = std::getenv(n))
            saved = old;
        value ? setenv(n, value->c_str(), 1) : unsetenv(n);
    }
    ~ScopedVariable() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> saved;
};

struct Collected : DownloadEvents {
    std::string output, stages;
    void stageChanged(const std::string& stage) override { stages += stage + "|"; }
    void outputCleared() override { output.clear(); }
    void outputArrived(std::string_view chunk) override { output += chunk; }
};

// A program folder with the real module Makefile, stand-in compiler and programmer first on
// PATH, and a private port file naming a virtual module.
class DownloadRunTest : public testing::Test {
  protected:
    void SetUp() override {
        folder.writeSequence("1", {"31;1;1;15;1;1;1;0.5"});
        ASSERT_EQ(chmod(portFolder.path().c_str(), 0700), 0);
        writeBytes(portFolder.file("module.port"), "net:127.0.0.1:9\n");
        ASSERT_EQ(chmod(portFolder.file("module.port").c_str(), 0600), 0);
    }
    void tool(const std::string& name, const std::string& body) const {
        writeBytes(tools.file(name), "#!/bin/bash\n" + body + "\n");
        chmod(tools.file(name).c_str(), 0755);
    }
    DownloadResult download(Role role = Role::Maitre, const std::string& delay = "",
                            const std::string& workingDir = "") {
        SequenceModel sequence(workingSequencePath(folder.path()));
        DownloadRun run(DOSClass::create(), events, {1s, 3s, 10s});
        return run.run(
            {role, delay, folder.path(), workingDir.empty() ? folder.path() : workingDir},
            sequence);
    }

    ProgramFolder folder;
    TempFolder tools{"vexlo-tools"};
    TempFolder portFolder{"vexlo-port"};
    Collected events;
    ScopedVariable path{"PATH", tools.path() + ":" + std::getenv("PATH")};
    ScopedVariable port{"VEXLO_MODULE_PORT_FILE", portFolder.file("module.port")};
};

const std::string kCompiler = "for a; do [ \"$prev\" = -o ] && : > \"$a\"; prev=$a; done";
const std::string kBar =
    "printf 'Writing | ################################################## "
    "| 100%% 0.10s\\n\\n' >&2";
const std::string kHang = "echo $$ > hung.pid; exec sleep 600";

// Each fault of a tool, through the real Makefile, ends the download with the outcome it
// deserves, and a hung tool is ended with its whole group.
TEST_F(DownloadRunTest, EachToolFaultGivesItsOutcome) {
    struct Row {
        const char* fault;
        std::string compiler, programmer;
        Kind kind;
        const char* said;
    };
    const Row rows[] = {
        {"a good send", kCompiler, kBar, Kind::Success, "Programmation réussie"},
        {"avrdude's words in a good send", kCompiler,
         "echo 'avrdude error: retrying, not responding'; " + kBar, Kind::Success, "réussie"},
        {"a silent module", kCompiler,
         "echo 'avrdude error: programmer is not responding' >&2; exit 1", Kind::CommunicationError,
         "Vérifie la connexion du câble"},
        {"a refused send", kCompiler, "echo 'avrdude error: verification mismatch'; exit 1",
         Kind::UndefinedError, "s'est produite"},
        {"a send that fails without a word", kCompiler, "exit 3", Kind::UndefinedError, ""},
        // bash quotes the pipeline, 'not responding' included, when avrdude crashes
        {"avrdude crashing after its bar", kCompiler, kBar + "; kill -SEGV $$",
         Kind::UndefinedError, "indéfinie"},
        {"avrdude killed", kCompiler, kBar + "; kill -KILL $$", Kind::UndefinedError, ""},
        {"make killed during the send", kCompiler,
         "kill -KILL $(cut -d' ' -f4 /proc/$PPID/stat); sleep 0.2; " + kBar, Kind::UndefinedError,
         ""},
        {"avrdude hanging without a word", kCompiler, kHang, Kind::CommunicationError,
         "sans réponse pendant 1 s"},
        {"a compile error", "echo 'AfficheurCarac.c:3: error: x' >&2; exit 1", kBar,
         Kind::CompileError, "AfficheurCarac.c:3: error: x"},
        {"a crashing compiler", "kill -SEGV $$", kBar, Kind::CompileError, ""},
        {"a compiler hanging without a word", kHang, kBar, Kind::CompileError,
         "rien écrit pendant 1 s"},
        {"a compiler that never ends", "while :; do echo .; sleep 0.1; done", kBar,
         Kind::CompileError, "plus de 3 s"},
    };
    tool("avr-objcopy", "for a; do last=$a; done; : > \"$last\"");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        tool("avr-gcc", row.compiler);
        tool("avrdude", row.programmer);
        std::filesystem::remove(folder.file("hung.pid"));
        const DownloadResult result = download();
        EXPECT_EQ(result.kind, row.kind) << result.message.text << "\n" << events.output;
        EXPECT_NE(result.message.text.find(row.said), std::string::npos) << result.message.text;
        if (exists(folder.file("hung.pid"))) {
            EXPECT_TRUE(killedOrGone(std::stoi(readBytes(folder.file("hung.pid")))));
        }
        EXPECT_EQ(events.stages.substr(events.stages.size() - 1), "|");  // the stage line ends
    }
}

// What the Makefile and the environment may bring in around the tools.
TEST_F(DownloadRunTest, OnlyTheMakefilesOwnLinesAndStatusDecide) {
    tool("avr-gcc", kCompiler);
    tool("avr-objcopy", "for a; do last=$a; done; : > \"$last\"");
    tool("avrdude", kBar);
    {  // no module anywhere: the pupil is told so
        const ScopedVariable noPort("VEXLO_MODULE_PORT_FILE", portFolder.file("absent"));
        const DownloadResult result = download();
        EXPECT_EQ(result.kind, Kind::CommunicationError);
        EXPECT_NE(result.message.text.find("\r\nAucun afficheur n'est branché"), std::string::npos);
    }
    {  // an outer make's variables would print the folder's name, here "error aucune"
        const std::string working = folder.file("error aucune");
        std::filesystem::create_directory(working);
        std::filesystem::copy_file(folder.file("Makefile"), working + "/Makefile");
        const ScopedVariable flags("MAKEFLAGS", "w"), level("MAKELEVEL", "1");
        EXPECT_EQ(download(Role::Maitre, "", working).kind, Kind::Success) << events.output;
    }
    // a program rule that prints nothing and exits 0
    writeBytes(folder.file("Makefile"),
               "all:\n\t@echo 'Compilation terminée : aucune erreur.'\nprogram:\n\t@true\n");
    EXPECT_EQ(download().kind, Kind::UndefinedError);
}

// Nothing is generated from a delay, a count or a duration the module cannot hold.
TEST_F(DownloadRunTest, RefusedInputsAreNamedBeforeAnythingIsGenerated) {
    const ScopedVariable noMake("PATH", "/nonexistent");  // what passes stops at make
    struct Row {
        Role role;
        const char* delay;
        const char* count;
        std::vector<std::string> records;
        const char* said;  // in the refusal, or in the source when accepted
    };
    const std::string a = "4;10;17;17;31;17;17;0.5";
    const Row rows[] = {
        {Role::Esclave, "x\"", "1", {a}, "Tape un nombre entier de 0 à 32 767"},
        {Role::Esclave, "#include \"/etc/passwd\"", "1", {a}, "Retard incorrect"},
        {Role::Esclave, "32768", "1", {a}, "Retard incorrect"},
        {Role::Esclave, "-1", "1", {a}, "Retard incorrect"},
        {Role::Esclave, "1.5", "1", {a}, "Retard incorrect"},
        {Role::Esclave, " 010 ", "1", {a}, "#define CarRet 10 "},  // not octal
        {Role::Esclave, "32767", "1", {a}, "#define CarRet 32767 "},
        {Role::Esclave, "", "1", {a}, "#define CarRet  "},
        {Role::Esclave, "", "1", {"1;1;1;1;1;1;1;9999"}, "while (T100ms < tempo)"},  // unused
        {Role::Maitre, "x", "40000", {a}, "(« 40000 ») n'est pas un nombre de 0 à 32 767"},
        {Role::Maitre, "", "-1", {a}, "Séquence illisible"},
        {Role::Maitre, "", "326", {a}, "La séquence compte 326 caractères"},
        {Role::Maitre, "", "2", {a, "1;1;1;1;1;1;1;9999"}, "Le caractère 2 a une durée trop"},
        {Role::Maitre, "", "2", {a, "1;1;1;1;1;1;1;1e9"}, "caractère 2 a une durée trop"},
        {Role::Maitre, "", "2", {a, "1;1;1;1;1;1;1;0"}, "caractère 2 a une durée nulle"},
        {Role::Maitre, "", "2", {a, "1;1;1;1;1;1;1;"}, "caractère 2 n'a pas de durée"},
        {Role::Maitre, "", "2", {"1;1;1;1;1;1;1;abc", a}, "caractère 1 a une durée illisible"},
        {Role::Maitre, "", "1", {"1;1;1;1;1;1;1;6553.5"}, "while(T100ms<65535){}"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.delay) + " / " + row.count + " / " + row.records.back());
        std::filesystem::remove(folder.file("AfficheurCarac.c"));
        folder.writeSequence(row.count, row.records);
        const DownloadResult result = download(row.role, row.delay);
        const std::string source = readBytes(folder.file("AfficheurCarac.c"));
        if (result.kind == Kind::Refused) {
            const std::string told = result.message.title + " " + result.message.text;
            EXPECT_NE(told.find(row.said), std::string::npos) << told;
            EXPECT_FALSE(exists(folder.file("AfficheurCarac.c")));
        } else {
            EXPECT_NE(source.find(row.said), std::string::npos) << result.message.text;
        }
    }
}

// The words count from the output's second byte, in any case, inside longer words; the
// Makefile's own lines only at a line start.
TEST(OutputReadingTest, TheMakefilesWordsAndLinesDecide) {
    const std::string sent = "Envoi terminé : le module est programmé et vérifié.\n";
    // Output of make all or make program, whether it says built, how the send reads.
    const std::tuple<std::string, bool, SendReading> cases[] = {
        {"Erreurs : xAUCUNEx\r\n", true, SendReading::Failed},
        {"Aucune erreur", false, SendReading::Failed},
        {"avrdude: NOT RESPONDING; error\n" + sent, false, SendReading::NotResponding},
        {"2 errors\n" + sent, false, SendReading::Failed},
        {"error at the start\n" + sent, false, SendReading::Sent},
        {sent, false, SendReading::Sent},
        {"x " + sent, false, SendReading::Failed},
        {"line 1: 42 Segmentation fault avrdude | filter 'not responding'\n", false,
         SendReading::Failed},
    };
    for (const auto& [output, built, reading] : cases) {
        OutputWatch compiled = compileWatch(), sending = sendWatch();
        compiled.add(output);
        for (size_t at = 0; at < output.size(); at += 7)  // in pieces that cut the words
            sending.add(std::string_view(output).substr(at, 7));
        EXPECT_EQ(compileOutputSaysBuilt(compiled), built) << output;
        EXPECT_EQ(readSendOutput(sending), reading) << output;
    }
}

// Words cut between pieces are found; the first byte never counts unless at a line's start.
TEST(OutputWatchTest, WordsAreFoundAcrossPiecesInAnyCase) {
    OutputWatch watch({{"not responding"}, {"error"}, {"Aucun module", true}});
    for (const char* piece : {"error x NOT RESP", "onding\naucun", " MODULE"})
        watch.add(piece);
    EXPECT_EQ(watch.found(0), 8u);
    EXPECT_EQ(watch.found(1), OutputWatch::npos);
    EXPECT_EQ(watch.found(2), 23u);
    OutputWatch first({{"Aucun module", true}});
    first.add("aucun module");
    EXPECT_EQ(first.found(0), 0u);
}

}  // namespace
