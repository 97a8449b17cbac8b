// Process start to first paint of the window (offscreen): the probe program is started as a
// child and timed from the spawn to the line it prints on the first paint.
// Goal: under 150 ms.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"

extern char** environ;

namespace {

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    std::abort();
}

// Starts the probe on `folder`, returns milliseconds until it printed its line; the child is
// reaped before returning.
double timeToFirstPaint(const std::string& folder) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        fail("pipe2");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string program = VEXLO_FIRST_PAINT;
    char* argv[] = {program.data(), const_cast<char*>(folder.c_str()), nullptr};

    const BenchClock::time_point start = BenchClock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        fail("posix_spawn");
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);

    std::string line;
    char c = 0;
    while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
        line.push_back(c);
    }
    const BenchClock::time_point painted = BenchClock::now();
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            fail("waitpid");
        }
    }
    if (line != "painted" || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the probe ended without painting (status %d)\n", status);
        std::abort();
    }
    return millisecondsBetween(start, painted);
}

void BM_StartToFirstPaint(benchmark::State& state) {
    const ProgramCopy folder;
    const std::string path = folder.path().toStdString();
    std::vector<double> times;
    for (auto _ : state) {
        const double ms = timeToFirstPaint(path);
        times.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    const Spread spread = spreadOf(times);
    state.counters["median_ms"] = spread.median;
    state.counters["worst_ms"] = spread.worst;
    state.counters["best_ms"] = spread.best;
}

BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
