// What the runner leaves behind and how it copes with hostile children: floods, process trees,
// early-closing output, many runs, re-entry and an owner that goes away mid-run.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "ConsoleTestSupport.h"

namespace {

using ProcessHygieneTest = ConsoleTest;
using namespace std::chrono_literals;

int openDescriptors() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (readdir(dir) != nullptr)
        ++count;
    closedir(dir);
    return count;
}

// Gone: no such process, or only its zombie waiting for a parent that is not this process.
bool processGone(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close == std::string::npos || line.size() < close + 3 || line[close + 2] == 'Z' ||
           line[close + 2] == 'X';
}

bool processGoneWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!processGone(pid)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

pid_t pidAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label + ":");
    if (at == std::string::npos)
        return -1;
    return static_cast<pid_t>(std::stol(text.substr(at + label.size() + 1)));
}

TEST_F(ProcessHygieneTest, FiftyMegabytesArriveWhole) {
    constexpr size_t kSize = 50u * 1024 * 1024;
    size_t delivered = 0;
    events.onOutput = [&](const std::string& piece) { delivered += piece.size(); };
    EXPECT_EQ(run("vx_flood", std::to_string(kSize)), 0);
    const std::string out = dos->Outputs();
    ASSERT_EQ(out.size(), kSize);
    EXPECT_EQ(delivered, kSize);
    for (size_t i = 0; i < kSize; i += 4099) {
        const size_t column = i % 65536 % 27;  // the child repeats one 64 KiB block
        ASSERT_EQ(out[i], column == 26 ? '\n' : static_cast<char>('a' + column)) << i;
    }
    EXPECT_GT(events.doEvents, 0);
}

TEST_F(ProcessHygieneTest, KillEndsTheWholeProcessTree) {
    pid_t child = -1;
    pid_t grandchild = -1;
    events.onOutput = [&](const std::string&) {
        child = pidAfter(dos->Outputs(), "pid");
        grandchild = pidAfter(dos->Outputs(), "grandchild");
        if (child > 0 && grandchild > 0)
            dos->KillCommand();
    };
    EXPECT_EQ(run("vx_hang", "grandchild"), DOSClass::kResultKilled);
    ASSERT_GT(child, 0);
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(processGone(child));
    EXPECT_TRUE(processGoneWithin(grandchild, 2s));
}

TEST_F(ProcessHygieneTest, ChildThatClosesItsOutputIsWaitedForAndReaped) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run("vx_closeout", "300 7"), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_EQ(dos->ExitCode(), 7);
    EXPECT_EQ(dos->Outputs(), "bye");
}

TEST_F(ProcessHygieneTest, ChildThatClosesItsOutputCanStillBeKilled) {
    int passes = 0;
    events.onDoEvents = [&] {
        if (++passes == 5)
            dos->KillCommand();
    };
    EXPECT_EQ(run("vx_closeout", "60000 0"), DOSClass::kResultKilled);
}

TEST_F(ProcessHygieneTest, ThousandRunsLeaveNoDescriptorAndNoZombie) {
    const int before = openDescriptors();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(run("vx_exit", std::to_string(i % 3), i % 2 == 0), 0) << i;
        ASSERT_EQ(dos->ExitCode(), i % 3);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(ProcessHygieneTest, FailedStartsAndKillsLeaveNoDescriptor) {
    const int before = openDescriptors();
    dos->setCommandWorkingDirectory("/nonexistent/folder");
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(run("vx_exit", "0"), ENOENT);
    dos->setCommandWorkingDirectory("");
    events.onOutput = [&](const std::string&) { dos->KillCommand(); };
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(run("vx_hang", ""), DOSClass::kResultKilled);
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(ProcessHygieneTest, ChildSeesOnlyItsStandardStreams) {
    // A descriptor the owner forgot to mark close-on-exec must not reach the command.
    const int leaky = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    EXPECT_EQ(run("vx_fds", ""), 0);
    close(leaky);
    EXPECT_EQ(dos->Outputs(), "fds:");
}

TEST_F(ProcessHygieneTest, InputToAChildThatClosedItDoesNotEndTheOwner) {
    dos->setInputs(std::string(1 << 20, 'x'));
    EXPECT_EQ(run("vx_closeout", "50 3"), 0);
    EXPECT_EQ(dos->ExitCode(), 3);
}

TEST_F(ProcessHygieneTest, SecondExecuteDuringARunIsRefused) {
    int32_t second = -1;
    events.onDoEvents = [&] {
        if (second != -1)
            return;
        dos->setCommandArgument("out:intruder");
        second = dos->ExecuteCommand();
    };
    EXPECT_EQ(run("vx_print", "sleep:50 out:first"), 0);
    EXPECT_EQ(second, DOSClass::kResultAlreadyRunning);
    EXPECT_EQ(dos->Outputs(), "first");
    EXPECT_EQ(Recorder::joined(events.outputs), "first");
}

TEST_F(ProcessHygieneTest, OwnerLettingGoDuringARunIsSafe) {
    std::weak_ptr<DOSClass> watch = dos;
    DOSClass* runner = dos.get();
    runner->setCommandName(childProgram("vx_hang"));
    events.onDoEvents = [&] {
        if (!dos)
            return;
        dos->setEvents(nullptr);
        dos->KillCommand();
        dos.reset();
    };
    EXPECT_EQ(runner->ExecuteCommand(true), DOSClass::kResultKilled);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(events.doEvents, 1);
}

TEST_F(ProcessHygieneTest, OwnerLettingGoWithoutKillStillEndsTheRun) {
    std::weak_ptr<DOSClass> watch = dos;
    DOSClass* runner = dos.get();
    runner->setCommandName(childProgram("vx_print"));
    runner->setCommandArgument("sleep:50 out:done");
    events.onDoEvents = [&] {
        if (!dos)
            return;
        dos->setEvents(nullptr);
        dos.reset();
    };
    EXPECT_EQ(runner->ExecuteCommand(), 0);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(events.outputs.size(), 0u);
}

}  // namespace
