#pragma once

#include <gtest/gtest.h>
#include <simavr/sim_hex.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Chain.h"
#include "TestFiles.h"
#include "common/CharacterRecord.h"
#include "common/NumberText.h"
#include "firmware/Generation.h"

using Character = std::pair<Picture, double>;  // rows, seconds
// F, J and 4, none symmetric: with no row alike between neighbours, each change shows at the
// first row scanned after it.
inline const std::vector<Character> fj4 = {{{31, 1, 1, 15, 1, 1, 1}, 0.2},
                                           {{16, 16, 16, 16, 16, 17, 14}, 0.3},
                                           {{8, 12, 10, 9, 31, 8, 8}, 0.1}};

struct MakeRun {
    std::string output;  // standard output and error
    int status = -1;     // make's exit status, -1 when it did not exit
};

// Settings "NAME=value" for a child's environment; an empty value counts as unset.
using Environment = std::vector<std::string>;

// A program folder holding the generated source of `sequence`, where the real make runs.
struct Kit : ProgramFolder {
    Kit(Role role, const std::vector<Character>& sequence, const std::string& delay = "0") {
        std::vector<std::string> records;
        for (const auto& [r, seconds] : sequence) {
            records.push_back(
                formatRecord({r[0], r[1], r[2], r[3], r[4], r[5], r[6]}, formatNumber(seconds)));
        }
        writeSequence(std::to_string(sequence.size()), records);
        TextBox box;
        // Beyond what the download lets through, so the Makefile's own limit is tried.
        EXPECT_EQ(generateSource(box, role, delay, path(), path(), 32767).kind,
                  GenerationResult::Ok);
    }
    MakeRun run(const std::string& arguments, const Environment& environment = {}) const {
        std::string command = "cd '" + path() + "' && env LC_ALL=C";
        for (const std::string& setting : environment) {
            command += " '" + setting + "'";
        }
        command += " make " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        MakeRun result;
        char buffer[4096];  // read to the end, so make never waits on a full pipe
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            result.output.append(buffer, n);
        }
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
    std::string make(const std::string& arguments) const { return run(arguments).output; }
    std::vector<uint8_t> firmware() const {
        make("all");
        uint32_t size = 0, start = 0;
        const std::unique_ptr<uint8_t, decltype(&std::free)> data(
            read_ihex_file(file("AfficheurCarac.hex").c_str(), &size, &start), &std::free);
        return data ? std::vector<uint8_t>(data.get(), data.get() + size) : std::vector<uint8_t>();
    }
};

// vexlo-module --headless running with `environment` until the end of the scope.
class RunningModule {
  public:
    explicit RunningModule(const Environment& environment);
    ~RunningModule();
    RunningModule(const RunningModule&) = delete;
    RunningModule& operator=(const RunningModule&) = delete;

  private:
    int pid_ = -1;
};

// Polls `condition` until it holds or 10 s have passed; returns whether it held.
bool waitUntil(const std::function<bool()>& condition);
