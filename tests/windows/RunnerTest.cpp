// The runner on Windows, with the stand-in tool (StandIn.cpp) as the child.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <sstream>

#include "ProgramBeside.h"
#include "TestFiles.h"
#include "common/Utf8Path.h"
#include "common/WidePath.h"
#include "console/DOSClass.h"
#include "console/LocaleText.h"

namespace {

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// True once the process has ended, waiting a few seconds for it at most.
bool ends(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr)
        return true;  // already gone
    const bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

struct Recorder : DOSClassEvents {
    std::string outputs, errors;
    int doEvents = 0;
    std::function<void()> onOutput = [] {};
    void ReceiveOutputs(std::string& text) override { outputs += text, onOutput(); }
    void ReceiveErrors(std::string& text) override { errors += text; }
    void DoEvents() override { ++doEvents; }
};

class RunnerTest : public testing::Test {
  protected:
    void SetUp() override { dos->setEvents(&events); }
    int32_t run(const std::string& steps, bool merge = false) {
        dos->setCommandName("\"" + standIn + "\"");
        dos->setCommandArgument(steps);
        return dos->ExecuteCommand(merge);
    }

    const std::string standIn = programBeside("vexlo_standin.exe");
    std::shared_ptr<DOSClass> dos = DOSClass::create();
    Recorder events;
};

TEST_F(RunnerTest, ExitCodeAndMergedOrSeparateStreams) {
    EXPECT_EQ(run("out abc err xyz exit 42"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors() + "|" + events.errors, "abc|xyz|xyz");
    EXPECT_EQ(dos->ExitCode(), 42);
    EXPECT_EQ(run("out abc err xyz", true), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors(), "abcxyz|");
    EXPECT_EQ(dos->ExitCode(), 0);
}

// Each word reaches the child as it was meant: blanks and quotes group, backslashes stay.
TEST_F(RunnerTest, TheChildGetsItsWordsItsEnvironmentAndItsInput) {
    EXPECT_EQ(run("args \"a b\" \"\" C:\\dir\\ \"C:\\un dossier\\\\\" modèle"),
              DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "|a b||C:\\dir\\|C:\\un dossier\\\\|modèle|");

    SetEnvironmentVariableW(L"VEXLO_GONE", L"1");
    dos->setEnvironmentChanges({"VEXLO_SET=é x", "vexlo_gone"});
    EXPECT_EQ(run("env VEXLO_SET out | env VEXLO_GONE"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "é x|unset");
    SetEnvironmentVariableW(L"VEXLO_GONE", nullptr);

    dos->setInputs("bonjour\n");
    EXPECT_EQ(run("line"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "bonjour");
}

// The child waits for an answer to what it printed: output arrives while it runs.
TEST_F(RunnerTest, OutputArrivesWhileTheChildRuns) {
    events.onOutput = [&] {
        if (events.outputs == "question")
            dos->PutInputs("réponse\n");
    };
    EXPECT_EQ(run("out question line"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "questionréponse");
}

// Tool output is in the console's code page (0x8A is "è" in both 437 and 850).
TEST_F(RunnerTest, OutputIsDecodedFromTheConsoleCodePage) {
    EXPECT_EQ(run("bytes 6D6F648A6C65"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "modèle");
    LocaleDecoder windows1252("CP1252"), japanese("CP932");
    EXPECT_EQ(windows1252.decode("mod\xE8le \x80"), "modèle €");
    EXPECT_EQ(japanese.decode("a\x82"), "a");  // a lead byte waits for its second byte
    EXPECT_EQ(japanese.decode("\xA0"), "あ");
}

// Failed starts say why as on POSIX, raise no event and keep the texts of the run before.
TEST_F(RunnerTest, AMissingProgramOrFolderIsReportedAndChangesNothing) {
    ASSERT_EQ(run("out avant"), DOSClass::kResultEnded);
    dos->setCommandName("vx_no_such_program_anywhere");
    EXPECT_EQ(dos->ExecuteCommand(), ENOENT);
    dos->setCommandWorkingDirectory("C:/vexlo/pas/de/dossier");
    EXPECT_EQ(run("out x"), ENOENT);
    EXPECT_EQ(dos->Outputs() + "|" + events.outputs, "avant|avant");
}

// Programs and working folders in folders whose names have a space and an accent.
TEST_F(RunnerTest, AccentedFoldersWorkForTheProgramAndTheWorkingFolder) {
    const TempFolder tools{"vexlo outils é"}, work{"vexlo travail è"};
    const std::string copy = tools.file("outil à tester.exe");
    std::filesystem::copy_file(utf8Path(standIn), utf8Path(copy));
    dos->setCommandName("\"" + copy + "\"");
    dos->setCommandArgument("cwd");
    dos->setCommandWorkingDirectory(work.path());
    EXPECT_EQ(dos->ExecuteCommand(), DOSClass::kResultEnded);
    EXPECT_EQ(withSlashes(dos->Outputs()), work.path());
}

// KillCommand ends the child and the grandchild it started, at once.
TEST_F(RunnerTest, AKillEndsTheWholeTree) {
    DWORD child = 0, grandchild = 0;
    events.onOutput = [&] {
        if (std::istringstream(events.outputs) >> child >> grandchild)
            dos->KillCommand();
    };
    EXPECT_EQ(run("spawn"), DOSClass::kResultKilled);
    EXPECT_EQ(dos->ExitCode(), 1);
    EXPECT_TRUE(ends(child) && ends(grandchild)) << child << " " << grandchild;
    EXPECT_FALSE(dos->isRunning());
}

}  // namespace
