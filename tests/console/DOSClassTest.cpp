// The runner's contract seen from its owner: results, texts, events, input.
#include <unistd.h>

#include "ConsoleTestSupport.h"

namespace {

using DOSClassTest = ConsoleTest;

TEST_F(DOSClassTest, CommandThatPrintsAbc) {
    EXPECT_EQ(run("vx_print", "out:abc"), 0);
    EXPECT_EQ(dos->Outputs(), "abc");
    EXPECT_EQ(Recorder::joined(events.outputs), "abc");
    EXPECT_EQ(dos->Errors(), "");
    EXPECT_TRUE(events.errors.empty());
    EXPECT_FALSE(dos->isRunning());
}

TEST_F(DOSClassTest, MergedStreamsArriveAsOutput) {
    EXPECT_EQ(run("vx_print", "out:abc sleep:20 err:xyz", true), 0);
    EXPECT_EQ(dos->Outputs(), "abcxyz");
    EXPECT_EQ(Recorder::joined(events.outputs), "abcxyz");
    EXPECT_EQ(dos->Errors(), "");
    EXPECT_TRUE(events.errors.empty());
}

TEST_F(DOSClassTest, SeparateStreamsKeepErrorsApart) {
    EXPECT_EQ(run("vx_print", "out:abc err:xyz"), 0);
    EXPECT_EQ(dos->Outputs(), "abc");
    EXPECT_EQ(dos->Errors(), "xyz");
    EXPECT_EQ(Recorder::joined(events.outputs), "abc");
    EXPECT_EQ(Recorder::joined(events.errors), "xyz");
}

TEST_F(DOSClassTest, ErrorsWrittenAfterOutputClosedAreNotLost) {
    EXPECT_EQ(run("vx_print", "out:abc close:1 sleep:30 err:last"), 0);
    EXPECT_EQ(dos->Errors(), "last");
}

struct StartFailure {
    const char* name;
    std::string command;
    std::string folder;
    int32_t result;
};

class StartFailureTest : public ConsoleTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(StartFailureTest, ReportsTheErrorAndKeepsTheLastRunsTexts) {
    ASSERT_EQ(run("vx_print", "out:before err:earlier"), 0);
    events = Recorder{};
    dos->setCommandName(GetParam().command);
    dos->setCommandWorkingDirectory(GetParam().folder);
    EXPECT_EQ(dos->ExecuteCommand(), GetParam().result);
    EXPECT_EQ(dos->Outputs(), "before");
    EXPECT_EQ(dos->Errors(), "earlier");
    EXPECT_TRUE(events.outputs.empty());
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(events.waits + events.doEvents, 0);
    EXPECT_FALSE(dos->isRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartFailureTest,
    ::testing::Values(StartFailure{"MissingPath", "/nonexistent/vx_nothing", "", ENOENT},
                      StartFailure{"NotOnPath", "vx_no_such_program_anywhere", "", ENOENT},
                      StartFailure{"EmptyName", "", "", ENOENT},
                      StartFailure{"NotAProgram", "/etc/passwd", "", EACCES},
                      StartFailure{"MissingFolder", childProgram("vx_print"), "/nonexistent/folder",
                                   ENOENT}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DOSClassTest, EmptyArgumentPassesNoArgument) {
    EXPECT_EQ(run("vx_args", ""), 0);
    EXPECT_EQ(dos->Outputs(), "0");
}

TEST_F(DOSClassTest, ArgumentIsSplitIntoWordsWithoutAShell) {
    EXPECT_EQ(run("vx_args", "a  \"b c\" \"\" $HOME 'q' *"), 0);
    EXPECT_EQ(dos->Outputs(), "6[a][b c][][$HOME]['q'][*]");
}

TEST_F(DOSClassTest, NonzeroExitStillSucceeds) {
    EXPECT_EQ(run("vx_exit", "42"), 0);
    EXPECT_EQ(dos->ExitCode(), 42);
    EXPECT_EQ(run("vx_exit", "0"), 0);
    EXPECT_EQ(dos->ExitCode(), 0);
}

TEST_F(DOSClassTest, ProgramIsFoundOnPath) {
    dos->setCommandName("sh");
    dos->setCommandArgument("-c \"printf %s found\"");
    EXPECT_EQ(dos->ExecuteCommand(), 0);
    EXPECT_EQ(dos->Outputs(), "found");
}

TEST_F(DOSClassTest, RunsInTheWorkingDirectory) {
    dos->setCommandWorkingDirectory("/tmp");
    EXPECT_EQ(run("vx_pwd", ""), 0);
    EXPECT_EQ(dos->Outputs(), "/tmp");
}

TEST_F(DOSClassTest, KillEndsTheRunWith1223) {
    events.onOutput = [&](const std::string&) { dos->KillCommand(); };
    EXPECT_EQ(run("vx_hang", ""), DOSClass::kResultKilled);
    EXPECT_EQ(dos->ExitCode(), 128 + SIGKILL);
    EXPECT_FALSE(dos->isRunning());
    EXPECT_EQ(events.outputs.size(), 1u);
}

TEST_F(DOSClassTest, KillWithoutARunChangesNothing) {
    ASSERT_EQ(run("vx_exit", "5"), 0);
    dos->KillCommand();
    EXPECT_EQ(dos->ExitCode(), 5);
    EXPECT_EQ(run("vx_print", "out:again"), 0);
    EXPECT_EQ(dos->Outputs(), "again");
}

TEST_F(DOSClassTest, InputsAreReadExactlyAndStayOpen) {
    const std::string text = "h\xC3\xA9llo\nmonde";  // no line end at the end
    dos->setInputs(text);
    EXPECT_EQ(run("vx_input", std::to_string(text.size())), 0);
    EXPECT_EQ(dos->Outputs(), "[" + text + "]open");
}

TEST_F(DOSClassTest, PutInputsDuringARun) {
    int32_t taken = -1;
    events.onDoEvents = [&] {
        if (taken < 0)
            taken = dos->PutInputs("ping");
    };
    EXPECT_EQ(run("vx_input", "4"), 0);
    EXPECT_EQ(taken, 4);
    EXPECT_EQ(dos->Outputs(), "[ping]open");
}

TEST_F(DOSClassTest, PutInputsWithoutARunWritesNothing) {
    EXPECT_EQ(dos->PutInputs("ignored"), 0);
    ASSERT_EQ(run("vx_exit", "0"), 0);
    EXPECT_EQ(dos->PutInputs("ignored"), 0);
}

TEST_F(DOSClassTest, InputLargerThanThePipeDoesNotBlock) {
    const std::string text(300000, 'i');
    dos->setInputs(text);
    EXPECT_EQ(run("vx_input", std::to_string(text.size())), 0);
    EXPECT_EQ(dos->Outputs(), "[" + text + "]open");
}

TEST_F(DOSClassTest, TwoRunsInARowUseTheNewArgument) {
    ASSERT_EQ(run("vx_print", "out:first"), 0);
    ASSERT_EQ(run("vx_print", "out:second"), 0);
    EXPECT_EQ(dos->Outputs(), "second");
    EXPECT_EQ(Recorder::joined(events.outputs), "firstsecond");
}

TEST_F(DOSClassTest, PropertyChangedDuringARunWaitsForTheNext) {
    events.onDoEvents = [&] { dos->setCommandArgument("out:changed"); };
    ASSERT_EQ(run("vx_print", "sleep:50 out:original"), 0);
    EXPECT_EQ(dos->Outputs(), "original");
    EXPECT_EQ(dos->CommandArgument(), "out:changed");
}

TEST_F(DOSClassTest, CharacterCutBetweenWritesIsJoined) {
    EXPECT_EQ(run("vx_print", "hex:41C3 sleep:50 hex:A942"), 0);
    EXPECT_EQ(dos->Outputs(),
              "A\xC3\xA9"
              "B");
    ASSERT_GE(events.outputs.size(), 2u);
    EXPECT_EQ(events.outputs.front(), "A");
}

TEST_F(DOSClassTest, UndecodableBytesAreReplaced) {
    EXPECT_EQ(run("vx_print", "hex:41FF42C3"), 0);
    EXPECT_EQ(dos->Outputs(),
              "A\xEF\xBF\xBD"
              "B\xEF\xBF\xBD");
}

TEST_F(DOSClassTest, QuietChildLetsTheWindowRunAndRaisesWaitForInput) {
    EXPECT_EQ(run("vx_print", "sleep:200 out:late"), 0);
    EXPECT_GE(events.doEvents, 5);
    EXPECT_GE(events.waits, 5);
    EXPECT_EQ(dos->Outputs(), "late");
}

}  // namespace
