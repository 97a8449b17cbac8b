#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/DOSClass.h"

inline std::string childProgram(const std::string& name) {
    return std::string(VEXLO_CONSOLE_CHILD_DIR) + "/" + name;
}

// Records every event; optional hooks act from inside them as a window would.
struct Recorder : DOSClassEvents {
    std::vector<std::string> outputs;
    std::vector<std::string> errors;
    int waits = 0;
    int doEvents = 0;
    std::function<void(const std::string&)> onOutput;
    std::function<void()> onDoEvents;

    void ReceiveOutputs(std::string& text) override {
        outputs.push_back(text);
        if (onOutput)
            onOutput(text);
    }
    void ReceiveErrors(std::string& text) override { errors.push_back(text); }
    void WaitForInput(const std::string&, const std::string&) override { ++waits; }
    void DoEvents() override {
        ++doEvents;
        if (onDoEvents)
            onDoEvents();
    }

    static std::string joined(const std::vector<std::string>& pieces) {
        std::string all;
        for (const std::string& p : pieces)
            all += p;
        return all;
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

    // Runs a child program of the tests with the given argument text.
    int32_t run(const std::string& program, const std::string& argument, bool merge = false) {
        dos->setCommandName(childProgram(program));
        dos->setCommandArgument(argument);
        return dos->ExecuteCommand(merge);
    }

    std::shared_ptr<DOSClass> dos = DOSClass::create();
    Recorder events;
};
