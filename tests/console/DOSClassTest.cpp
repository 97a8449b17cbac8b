// The runner's contract seen from its owner: results, texts, events, input.
#include "ConsoleTestSupport.h"

namespace {

using DOSClassTest = ConsoleTest;

TEST_F(DOSClassTest, OutputAndErrorsArriveAsTextAndEvents) {
    ASSERT_EQ(run("out:old"), 0);
    EXPECT_EQ(run("out:abc err:xyz out:\xFF"
                  "B"),
              0);
    EXPECT_EQ(dos->Outputs(),
              "abc\xEF\xBF\xBD"
              "B");  // the run before is gone
    EXPECT_EQ(dos->Errors(), "xyz");
    EXPECT_EQ(events.outputs,
              "oldabc\xEF\xBF\xBD"
              "B");
    EXPECT_EQ(events.errors, "xyz");
    EXPECT_FALSE(dos->isRunning());

    EXPECT_EQ(run("out:abc err:xyz", true), 0);
    EXPECT_EQ(dos->Outputs(), "abcxyz");
    EXPECT_EQ(dos->Errors(), "");
}

TEST_F(DOSClassTest, ErrorsWrittenAfterOutputClosedAreNotLost) {
    events.onOutput = [&] { dos->PutInputs("x"); };  // the child writes its error only then
    EXPECT_EQ(run("out:abc close:1 gate err:last"), 0);
    EXPECT_EQ(dos->Errors(), "last");
}

TEST_F(DOSClassTest, AFailedStartReportsTheErrorAndKeepsTheLastRunsTexts) {
    const struct {
        std::string command;
        std::string folder;
        int32_t result;
    } cases[] = {{"/nonexistent/vx_nothing", "", ENOENT},
                 {"vx_no_such_program_anywhere", "", ENOENT},
                 {"", "", ENOENT},
                 {"/etc/passwd", "", EACCES},
                 {VEXLO_CHILD, "/nonexistent/folder", ENOENT}};
    ASSERT_EQ(run("out:before err:earlier"), 0);
    const Recorder before = events;
    for (const auto& c : cases) {
        dos->setCommandName(c.command);
        dos->setCommandWorkingDirectory(c.folder);
        EXPECT_EQ(dos->ExecuteCommand(), c.result) << c.command;
        EXPECT_EQ(dos->Outputs(), "before");
        EXPECT_EQ(dos->Errors(), "earlier");
        EXPECT_EQ(events.outputs + events.errors, before.outputs + before.errors);
        EXPECT_EQ(events.doEvents, before.doEvents);
    }
}

TEST_F(DOSClassTest, ArgumentsReachTheProgramWithoutAShell) {
    EXPECT_EQ(run("out:$HOME  out:* \"out:a b\" out:'q'"), 0);
    EXPECT_EQ(dos->Outputs(), "$HOME*a b'q'");

    dos->setCommandName("sh");  // found on PATH
    dos->setCommandArgument("-c \"printf %s $PWD\"");
    dos->setCommandWorkingDirectory("/tmp");
    EXPECT_EQ(dos->ExecuteCommand(), 0);
    EXPECT_EQ(dos->Outputs(), "/tmp");
}

TEST_F(DOSClassTest, TheChildGetsTheEnvironmentChanges) {
    setenv("LANGUAGE", "fr", 1);
    dos->setEnvironmentChanges({"LC_ALL=C", "LANGUAGE"});
    dos->setCommandName("sh");
    dos->setCommandArgument("-c \"printf %s:%s $LC_ALL ${LANGUAGE-unset}\"");
    EXPECT_EQ(dos->ExecuteCommand(), 0);
    unsetenv("LANGUAGE");
    EXPECT_EQ(dos->Outputs(), "C:unset");
}

TEST_F(DOSClassTest, ExitCodesAndKill) {
    EXPECT_EQ(run("exit:42"), 0);
    EXPECT_EQ(dos->ExitCode(), 42);
    dos->KillCommand();  // no run: nothing changes
    EXPECT_EQ(dos->ExitCode(), 42);

    events.onOutput = [&] { dos->KillCommand(); };
    EXPECT_EQ(run("hang"), DOSClass::kResultKilled);
    EXPECT_EQ(dos->ExitCode(), 128 + SIGKILL);
    EXPECT_EQ(events.outputEvents, 1);
    EXPECT_FALSE(dos->isRunning());
}

TEST_F(DOSClassTest, InputsAreWrittenExactlyAndTheInputStaysOpen) {
    const std::string text = "h\xC3\xA9llo\n" + std::string(300000, 'i');  // more than a pipe
    dos->setInputs(text);
    EXPECT_EQ(run("read:" + std::to_string(text.size())), 0);
    EXPECT_EQ(dos->Outputs(), "[" + text + "]open");

    dos->setInputs("");
    int32_t taken = -1;
    events.onDoEvents = [&] {
        if (taken < 0)
            taken = dos->PutInputs("ping");
    };
    EXPECT_EQ(run("read:4"), 0);
    EXPECT_EQ(taken, 4);
    EXPECT_EQ(dos->Outputs(), "[ping]open");
    EXPECT_EQ(dos->PutInputs("ignored"), 0);
}

TEST_F(DOSClassTest, AQuietChildLetsTheWindowRun) {
    events.onDoEvents = [&] {
        if (events.doEvents == 3)
            dos->PutInputs("x");
    };
    EXPECT_EQ(run("gate out:late"), 0);
    EXPECT_GE(events.waits, 2);
    EXPECT_EQ(dos->Outputs(), "late");
}

TEST_F(DOSClassTest, ASecondRunOrAChangeDuringARunWaitsForTheNext) {
    int32_t second = -1;
    events.onDoEvents = [&] {
        if (second != -1)
            return;
        dos->setCommandArgument("out:intruder");
        second = dos->ExecuteCommand();
        dos->PutInputs("x");
    };
    EXPECT_EQ(run("gate out:first"), 0);
    EXPECT_EQ(second, DOSClass::kResultAlreadyRunning);
    EXPECT_EQ(dos->Outputs(), "first");
    EXPECT_EQ(dos->CommandArgument(), "out:intruder");
}

}  // namespace
