#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>

#include "ChildRun.h"
#include "TestFiles.h"
#include "console/ChildProcess.h"
#include "console/DOSClass.h"
#include "console/LocaleText.h"

namespace {

// Records the events; the hooks act from inside them as a window would.
struct Recorder : DOSClassEvents {
    std::string outputs, errors;
    int doEvents = 0;
    std::function<void()> onOutput = [] {}, onDoEvents = [] {};
    void ReceiveOutputs(std::string& text) override { outputs += text, onOutput(); }
    void ReceiveErrors(std::string& text) override { errors += text; }
    void DoEvents() override { ++doEvents, onDoEvents(); }
    bool WaitForEvents(int timeoutMs) override { return onWait(timeoutMs); }
    std::function<bool(int)> onWait = [](int) { return false; };
};

// Every test ends with no child of this process left, zombie or not.
class DOSClassTest : public ::testing::Test {
  protected:
    void SetUp() override { dos->setEvents(&events); }
    void TearDown() override { EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD); }
    // Runs `program` with the arguments `text`, or sh with the script `text`.
    int32_t run(const std::string& text, bool merge = false, const std::string& program = "sh") {
        dos->setCommandName(program);
        dos->setCommandArgument(program == "sh" ? "-c \"" + text + "\"" : text);
        return dos->ExecuteCommand(merge);
    }

    std::shared_ptr<DOSClass> dos = DOSClass::create();
    Recorder events;
};
using ProcessHygieneTest = DOSClassTest;

TEST_F(DOSClassTest, TheProgramGetsItsWordsAndEnvironmentAndGivesOutputsErrorsAndExitCode) {
    EXPECT_EQ(run("%s| $HOME \t * \"a \"b \"\" 'q' \xC3\xA9 \"open end", false, "printf"),
              DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "$HOME|*|a b||'q'|\xC3\xA9|open end|");

    setenv("LANGUAGE", "fr", 1);
    dos->setEnvironmentChanges({"LC_ALL=C", "LANGUAGE"});
    EXPECT_EQ(
        run("printf %s:%s: $LC_ALL ${LANGUAGE-unset}; printf xyz >&2; printf '\\377'; exit 42"),
        DOSClass::kResultEnded);
    unsetenv("LANGUAGE");
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors(), "C:unset:\uFFFD|xyz");
    EXPECT_EQ(dos->ExitCode(), 42);

    EXPECT_EQ(run("printf abc; printf xyz >&2", true), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors(), "abcxyz|");  // the run before is gone
}

// An owner with a loop of its own waits in it while the command is quiet, and may end the run
// from there.
TEST_F(DOSClassTest, AnOwnersLoopWaitsWhileTheCommandIsQuiet) {
    int waits = 0;
    events.onWait = [&](int timeoutMs) {
        EXPECT_LE(timeoutMs, 20);
        if (++waits == 50)
            dos->PutInputs("\n");  // what the command waits for
        return true;
    };
    EXPECT_EQ(run("printf a; read x; printf b"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->Outputs(), "ab");
    EXPECT_GE(waits, 50);
    events.onWait = [&](int) { return dos->KillCommand(), true; };
    EXPECT_EQ(run("sleep 600"), DOSClass::kResultKilled);
}

// Ten megabytes, more than the pipes hold, go through the child and come back whole.
TEST_F(DOSClassTest, InputsArriveExactlyAndTheInputStaysOpen) {
    std::string text;
    while (text.size() < 10'000'000)
        text += "abcdefghijklmnopqrstuvwxyz\xC3\xA9\n";
    dos->setInputs(text);
    int pieces = 0;
    events.onOutput = [&] {  // the output text is joined midway, then added to
        EXPECT_TRUE(++pieces % 8 != 0 || dos->Outputs().size() == events.outputs.size());
        if (events.outputs.size() >= text.size())  // all of it came back: is the input open?
            dos->PutInputs("\n");
    };
    EXPECT_EQ(run("head -c " + std::to_string(text.size()) + " && read x && printf open"),
              DOSClass::kResultEnded);
    EXPECT_TRUE(dos->Outputs() == text + "open" && events.outputs == text + "open");
    EXPECT_EQ(dos->PutInputs("ignored"), 0);

    dos->setInputs(std::string(1 << 20, 'x'));  // into a closed input: no SIGPIPE ends us
    EXPECT_EQ(run("exec <&-; exit 3"), DOSClass::kResultEnded);
    EXPECT_EQ(dos->ExitCode(), 3);
}

TEST_F(ProcessHygieneTest, KillsEndTheWholeTreeAndManyRunsLeaveNoDescriptorOrZombie) {
    const auto descriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const int leaky = open("/dev/null", O_RDONLY);  // not close-on-exec, yet not for the child
    const auto descriptorsBefore = descriptors();
    int shell = 0, grandchild = 0;
    events.onOutput = [&] {
        if (std::istringstream(dos->Outputs()) >> shell >> grandchild)
            dos->KillCommand();
    };
    for (int i = 0; i < 300; ++i) {
        const std::string code = std::to_string(i % 3);
        ASSERT_EQ(run("true <&" + std::to_string(leaky) + " || exit " + code, i % 2 == 0),
                  DOSClass::kResultEnded)
            << i;
        ASSERT_EQ(dos->ExitCode(), i % 3);
        if (i % 10 != 0)
            continue;
        ASSERT_EQ(run("sleep infinity & echo $$ $!; wait"), DOSClass::kResultKilled);
        ASSERT_EQ(dos->ExitCode(), 128 + SIGKILL);
        ASSERT_TRUE(killedOrGone(shell) && killedOrGone(grandchild));
        const std::string killed = dos->Outputs();  // failed starts: reported, the texts kept
        ASSERT_EQ(run("", false, "vx_no_such_program_anywhere"), ENOENT);
        ASSERT_EQ(run("", false, "/etc/passwd"), EACCES);
        dos->setCommandWorkingDirectory("/nonexistent");
        ASSERT_EQ(run("exit 0"), ENOENT);
        dos->setCommandWorkingDirectory("");
        ASSERT_EQ(dos->Outputs(), killed);
    }
    EXPECT_EQ(descriptors(), descriptorsBefore);
    close(leaky);
}

// The owner killed outright: make, and the tool make started, end with it.
TEST_F(ProcessHygieneTest, TheCommandAndItsChildrenEndWithTheirOwner) {
    const TempFolder folder;
    writeBytes(folder.file("Makefile"), "all:\n\t@sleep 600 & echo $$! > tool.pid; wait\n");
    const pid_t owner = fork();
    ASSERT_GE(owner, 0);
    if (owner == 0) {
        ChildProcess make;
        make.start("make -s", folder.path(), true);
        pause();
        _exit(0);
    }
    std::string tool;
    for (int i = 0; i < 1000 && (tool = readBytes(folder.file("tool.pid"))).empty(); ++i)
        usleep(10'000);
    ASSERT_FALSE(tool.empty()) << "make never started its tool";
    kill(owner, SIGKILL);
    waitpid(owner, nullptr, 0);
    bool ended = false;
    for (int i = 0; i < 1000 && !(ended = killedOrGone(std::stoi(tool))); ++i)
        usleep(10'000);
    EXPECT_TRUE(ended);
}

// The child closes its output, waits for input, then writes an error; meanwhile the owner lets go
// of the runner.
TEST_F(ProcessHygieneTest, AChildThatClosedItsOutputIsWaitedForEvenWithoutItsOwner) {
    const std::weak_ptr<DOSClass> watch = dos;
    events.onDoEvents = [&] {
        if (events.doEvents == 3 && dos->PutInputs("\n") == 1)
            dos.reset();
    };
    EXPECT_EQ(run("printf first; exec >&-; read x; printf last >&2"), DOSClass::kResultEnded);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(events.outputs + "|" + events.errors, "first|last");
}

// Output arrives in pieces that may cut a character, in UTF-8 or in the locale's character set.
TEST(LocaleDecoderTest, CutCharactersAreJoinedAndBadBytesReplaced) {
    LocaleDecoder utf8("UTF-8");
    EXPECT_EQ(utf8.decode("ab\xF0\x9F"), "ab");
    EXPECT_EQ(utf8.decode("\x98\x80!\xFF\xE2\x82"), "😀!\uFFFD");
    EXPECT_EQ(utf8.finish(), "\uFFFD");
    EXPECT_EQ(LocaleDecoder("ISO-8859-1").decode("mod\xE8le"), "modèle");
}

}  // namespace
