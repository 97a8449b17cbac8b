// What the runner leaves behind and how it copes with hostile children: floods, process trees,
// early-closing output, many runs and an owner that goes away mid-run.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "ChildRun.h"
#include "ConsoleTestSupport.h"

namespace {

using ProcessHygieneTest = ConsoleTest;

int openDescriptors() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (readdir(dir) != nullptr)
        ++count;
    closedir(dir);
    return count;
}

pid_t pidAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label + ":");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + label.size() + 1));
}

TEST_F(ProcessHygieneTest, FiftyMegabytesArriveWhole) {
    constexpr size_t kSize = 50u * 1024 * 1024;
    EXPECT_EQ(run("flood:" + std::to_string(kSize)), 0);
    const std::string out = dos->Outputs();
    ASSERT_EQ(out.size(), kSize);
    EXPECT_EQ(events.outputs.size(), kSize);
    for (size_t i = 0; i < kSize; i += 4099) {
        const size_t column = i % 65536 % 27;  // the child repeats one 64 KiB block
        ASSERT_EQ(out[i], column == 26 ? '\n' : static_cast<char>('a' + column)) << i;
    }
    EXPECT_GT(events.doEvents, 0);
}

TEST_F(ProcessHygieneTest, KillEndsTheWholeProcessTree) {
    pid_t child = -1;
    pid_t grandchild = -1;
    events.onOutput = [&] {
        child = pidAfter(events.outputs, "pid");
        grandchild = pidAfter(events.outputs, "grandchild");
        if (child > 0 && grandchild > 0)
            dos->KillCommand();
    };
    EXPECT_EQ(run("grandchild"), DOSClass::kResultKilled);
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(killedOrGone(child));
    EXPECT_TRUE(killedOrGone(grandchild));
}

TEST_F(ProcessHygieneTest, AChildThatClosesItsOutputIsWaitedForOrKilled) {
    // The child ends only when let go, a few passes after its output has closed.
    bool released = false;
    int passes = 0;
    events.onDoEvents = [&] {
        if (!events.outputs.empty() && ++passes == 3)
            released = dos->PutInputs("x") == 1;
    };
    EXPECT_EQ(run("out:bye close:1 close:2 gate exit:7"), 0);
    EXPECT_TRUE(released);
    EXPECT_EQ(dos->ExitCode(), 7);
    EXPECT_EQ(dos->Outputs(), "bye");

    events = Recorder{};
    events.onDoEvents = [&] {
        if (events.doEvents == 5)
            dos->KillCommand();
    };
    EXPECT_EQ(run("close:1 close:2 hang"), DOSClass::kResultKilled);
}

TEST_F(ProcessHygieneTest, ManyRunsLeaveNoDescriptorAndNoZombie) {
    const int before = openDescriptors();
    events.onOutput = [&] { dos->KillCommand(); };
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(run("exit:" + std::to_string(i % 3), i % 2 == 0), 0) << i;
        ASSERT_EQ(dos->ExitCode(), i % 3);
        if (i % 10 == 0) {
            ASSERT_EQ(run("hang"), DOSClass::kResultKilled);
            dos->setCommandWorkingDirectory("/nonexistent/folder");
            ASSERT_EQ(run("exit:0"), ENOENT);
            dos->setCommandWorkingDirectory("");
        }
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(ProcessHygieneTest, TheChildSeesOnlyItsStandardStreams) {
    // A descriptor the owner forgot to mark close-on-exec must not reach the command.
    const int leaky = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    EXPECT_EQ(run("fds"), 0);
    close(leaky);
    EXPECT_EQ(dos->Outputs(), "fds:");
}

TEST_F(ProcessHygieneTest, InputToAChildThatClosedItDoesNotEndTheOwner) {
    dos->setInputs(std::string(1 << 20, 'x'));
    EXPECT_EQ(run("close:0 exit:3"), 0);
    EXPECT_EQ(dos->ExitCode(), 3);
}

TEST_F(ProcessHygieneTest, AnOwnerLettingGoDuringARunIsSafe) {
    for (const bool kill : {true, false}) {
        dos = DOSClass::create();
        events = Recorder{};
        const std::weak_ptr<DOSClass> watch = dos;
        DOSClass* runner = dos.get();
        runner->setEvents(&events);
        runner->setCommandName(VEXLO_CHILD);
        runner->setCommandArgument("gate out:done");
        events.onDoEvents = [&] {
            dos->setEvents(nullptr);
            if (kill)
                dos->KillCommand();
            else
                dos->PutInputs("x");
            dos.reset();
        };
        EXPECT_EQ(runner->ExecuteCommand(), kill ? DOSClass::kResultKilled : 0);
        EXPECT_TRUE(watch.expired());
        EXPECT_EQ(events.doEvents, 1);
    }
}

}  // namespace
