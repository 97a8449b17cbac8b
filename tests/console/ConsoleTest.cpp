#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>

#include "ChildRun.h"
#include "console/DOSClass.h"
#include "console/LocaleText.h"

namespace {

// Records the events; the hooks act from inside them as a window would.
struct Recorder : DOSClassEvents {
    std::string outputs, errors;
    int doEvents = 0;
    std::function<void()> onOutput, onDoEvents;
    void ReceiveOutputs(std::string& text) override {
        outputs += text;
        if (onOutput)
            onOutput();
    }
    void ReceiveErrors(std::string& text) override { errors += text; }
    void DoEvents() override {
        if (++doEvents && onDoEvents)
            onDoEvents();
    }
};

// Every test ends with no child of this process left, zombie or not.
class DOSClassTest : public ::testing::Test {
  protected:
    void SetUp() override { dos->setEvents(&events); }
    void TearDown() override {
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }
    int32_t run(const std::string& arguments, bool merge = false,
                const std::string& program = VEXLO_CHILD) {
        dos->setCommandName(program);
        dos->setCommandArgument(arguments);
        return dos->ExecuteCommand(merge);
    }
    int32_t sh(const std::string& script) { return run("-c \"" + script + "\"", false, "sh"); }

    std::shared_ptr<DOSClass> dos = DOSClass::create();
    Recorder events;
};
using ProcessHygieneTest = DOSClassTest;

TEST_F(DOSClassTest, OutputsErrorsAndExitCodeOfARun) {
    int32_t second = -1;
    events.onDoEvents = [&] {  // a few passes while the child is quiet
        if (events.doEvents != 3)
            return;
        dos->setCommandArgument("out:intruder");
        second = dos->ExecuteCommand();
        dos->PutInputs("x");
    };
    EXPECT_EQ(run("out:first close:1 gate err:last"), 0);  // its error comes after its output
    EXPECT_EQ(second, DOSClass::kResultAlreadyRunning);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors() + "|" + dos->CommandArgument(),
              "first|last|out:intruder");

    EXPECT_EQ(run("out:abc err:xyz out:\xFF exit:42"), 0);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors(), "abc\uFFFD|xyz");  // the run before is gone
    EXPECT_EQ(events.outputs + "|" + events.errors, "firstabc\uFFFD|lastxyz");
    dos->KillCommand();  // no run: changes nothing
    EXPECT_EQ(dos->ExitCode(), 42);
    EXPECT_FALSE(dos->isRunning());

    EXPECT_EQ(run("out:abc err:xyz", true), 0);
    EXPECT_EQ(dos->Outputs() + "|" + dos->Errors(), "abcxyz|");
}

TEST_F(DOSClassTest, TheProgramGetsItsWordsWithoutAShellAndItsEnvironmentAndFolder) {
    EXPECT_EQ(run("out:$HOME \t out:* \"out:a \"b \"\" out:'q' out:\xC3\xA9 \"out:open end"), 0);
    EXPECT_EQ(dos->Outputs(), "$HOME*a b'q'\xC3\xA9open end");

    setenv("LANGUAGE", "fr", 1);
    dos->setEnvironmentChanges({"LC_ALL=C", "LANGUAGE"});
    dos->setCommandWorkingDirectory("/tmp");
    EXPECT_EQ(sh("printf %s:%s:%s $LC_ALL ${LANGUAGE-unset} $PWD"), 0);
    unsetenv("LANGUAGE");
    EXPECT_EQ(dos->Outputs(), "C:unset:/tmp");
}

TEST_F(DOSClassTest, InputsArriveExactlyAndTheInputStaysOpen) {
    const std::string text = "h\xC3\xA9llo\n" + std::string(300000, 'i');  // more than a pipe
    dos->setInputs(text);
    events.onOutput = [&] {
        if (events.outputs.size() == text.size())
            dos->PutInputs("x");
    };
    EXPECT_EQ(run("echo:" + std::to_string(text.size()) + " gate out:open"), 0);
    EXPECT_EQ(dos->Outputs(), text + "open");
    EXPECT_EQ(dos->PutInputs("ignored"), 0);

    dos->setInputs(std::string(1 << 20, 'x'));  // into a closed input: no SIGPIPE ends us
    EXPECT_EQ(run("close:0 exit:3"), 0);
    EXPECT_EQ(dos->ExitCode(), 3);
}

TEST_F(ProcessHygieneTest, TwentyMegabytesArriveWhole) {
    std::string expected;
    while (expected.size() < 20'000'000)
        expected += "abcdefghijklmnopqrstuvwxyz\n";
    expected.resize(20'000'000);
    int pieces = 0;
    events.onOutput = [&] {  // the text joined midway, then added to
        EXPECT_TRUE(++pieces % 16 != 0 || dos->Outputs().size() == events.outputs.size());
    };
    EXPECT_EQ(sh("yes abcdefghijklmnopqrstuvwxyz | head -c 20000000"), 0);
    EXPECT_TRUE(dos->Outputs() == expected && events.outputs == expected);
    EXPECT_GT(events.doEvents, 0);
}

TEST_F(ProcessHygieneTest, KillEndsTheWholeProcessTree) {
    int shell = 0, grandchild = 0;
    events.onOutput = [&] {
        std::istringstream(events.outputs) >> shell >> grandchild;
        if (grandchild > 0)
            dos->KillCommand();
    };
    EXPECT_EQ(sh("sleep infinity & echo $$ $!; wait"), DOSClass::kResultKilled);
    EXPECT_EQ(dos->ExitCode(), 128 + SIGKILL);
    EXPECT_FALSE(dos->isRunning());
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(killedOrGone(shell));
    EXPECT_TRUE(killedOrGone(grandchild));
}

TEST_F(ProcessHygieneTest, ManyRunsFailedStartsAndKillsLeaveNoDescriptorAndNoZombie) {
    const struct {
        std::string command, folder;
        int32_t result;
    } failures[] = {{"vx_no_such_program_anywhere", "", ENOENT},
                    {"/etc/passwd", "", EACCES},
                    {VEXLO_CHILD, "/nonexistent", ENOENT}};
    const auto descriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const int leaky = open("/dev/null", O_RDONLY);  // not close-on-exec, yet not for the child
    EXPECT_EQ(run("close:" + std::to_string(leaky)), 0);
    EXPECT_EQ(dos->ExitCode(), 9);
    close(leaky);

    const auto before = descriptors();
    events.onOutput = [&] { dos->KillCommand(); };
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(run("exit:" + std::to_string(i % 3), i % 2 == 0), 0) << i;
        ASSERT_EQ(dos->ExitCode(), i % 3);
        if (i % 10 != 0)
            continue;
        ASSERT_EQ(run("out:kill gate"), DOSClass::kResultKilled);
        const Recorder seen = events;
        for (const auto& c : failures) {  // reported, with no event and the last texts kept
            dos->setCommandWorkingDirectory(c.folder);
            ASSERT_EQ(run("", false, c.command), c.result) << c.command;
            dos->setCommandWorkingDirectory("");
        }
        ASSERT_EQ(dos->Outputs(), "kill");
        ASSERT_EQ(events.outputs + std::to_string(events.doEvents),
                  seen.outputs + std::to_string(seen.doEvents));
    }
    EXPECT_EQ(descriptors(), before);
}

// The child closes its output and waits: the run goes on until it ends or is killed, even when
// the owner lets go of the runner meanwhile.
TEST_F(ProcessHygieneTest, AChildThatClosedItsOutputIsWaitedForOrKilled) {
    for (const bool kill : {true, false}) {
        dos = DOSClass::create();
        events = Recorder{};
        const std::weak_ptr<DOSClass> watch = dos;
        dos->setEvents(&events);
        bool released = false;
        events.onDoEvents = [&] {
            if (events.doEvents != 3)
                return;
            dos->setEvents(nullptr);
            kill ? dos->KillCommand() : (void)(released = dos->PutInputs("x") == 1);
            dos.reset();
        };
        EXPECT_EQ(run("close:1 close:2 gate"), kill ? DOSClass::kResultKilled : 0);
        EXPECT_EQ(released, !kill);
        EXPECT_TRUE(watch.expired());
        EXPECT_EQ(events.doEvents, 3);
    }
}

TEST(LocaleDecoderTest, CutCharactersAreJoinedAndBadBytesReplaced) {
    const struct {
        const char* charset;
        std::vector<std::string> pieces;
        std::string expected;  // each piece decoded and followed by "|", then the end
    } cases[] = {
        {"UTF-8", {"ab\xF0\x9F", "\x98", "\x80!\xFF", "\xE2\x82"}, "ab||😀!\uFFFD||\uFFFD"},
        {"UTF-16LE", {std::string("A\0\xE9", 3), std::string("\0z\0", 3), "C"}, "A|éz||\uFFFD"},
        {"ISO-8859-1", {"mod\xE8le"}, "modèle|"},
        {"SHIFT_JIS", {"a\xFFz"}, "a\uFFFDz|"},
    };
    for (const auto& c : cases) {
        LocaleDecoder decoder(c.charset);
        std::string out;
        for (const std::string& piece : c.pieces)
            out += decoder.decode(piece) + "|";
        EXPECT_EQ(out + decoder.finish(), c.expected) << c.charset;
    }
}

}  // namespace
