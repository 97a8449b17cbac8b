#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/DOSClass.h"

// Records every event; optional hooks act from inside them as a window would.
struct Recorder : DOSClassEvents {
    std::string outputs;
    std::string errors;
    int outputEvents = 0;
    int waits = 0;
    int doEvents = 0;
    std::function<void()> onOutput;
    std::function<void()> onDoEvents;

    void ReceiveOutputs(std::string& text) override {
        outputs += text;
        ++outputEvents;
        if (onOutput)
            onOutput();
    }
    void ReceiveErrors(std::string& text) override { errors += text; }
    void WaitForInput(const std::string&, const std::string&) override { ++waits; }
    void DoEvents() override {
        ++doEvents;
        if (onDoEvents)
            onDoEvents();
    }
};

// Every test runs a fresh runner and ends with no child of this process left, zombie or not.
class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override { dos->setEvents(&events); }
    void TearDown() override {
        errno = 0;
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }

    // Runs the test child with the given arguments.
    int32_t run(const std::string& arguments, bool merge = false) {
        dos->setCommandName(VEXLO_CHILD);
        dos->setCommandArgument(arguments);
        return dos->ExecuteCommand(merge);
    }

    std::shared_ptr<DOSClass> dos = DOSClass::create();
    Recorder events;
};
