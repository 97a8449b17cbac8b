// Output throughput of the runner against `cat` of the same flood, and how late output reaches
// its event. Run: build/bench/console/bench_console
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "console/DOSClass.h"

namespace {

constexpr int64_t kFloodBytes = 100LL * 1024 * 1024;
// The flood: that many bytes from /dev/zero as fast as a system tool writes them.
const std::string kFloodArguments = "-c " + std::to_string(kFloodBytes) + " /dev/zero";
using Clock = std::chrono::steady_clock;

// Longest time between two DoEvents calls: how long the window would go unserved.
struct GapMeter : DOSClassEvents {
    Clock::time_point last = Clock::now();
    double maxGapMs = 0;
    void DoEvents() override {
        const Clock::time_point now = Clock::now();
        maxGapMs =
            std::max(maxGapMs, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
};

struct FloodCounter : GapMeter {
    int64_t bytes = 0;
    void ReceiveOutputs(std::string& text) override { bytes += static_cast<int64_t>(text.size()); }
};

void BM_CatOfFlood(benchmark::State& state) {
    const std::string command = "head " + kFloodArguments + " | cat >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat pipeline failed");
    }
    state.SetBytesProcessed(state.iterations() * kFloodBytes);
}
BENCHMARK(BM_CatOfFlood)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DOSClassFlood(benchmark::State& state) {
    double maxGapMs = 0;
    for (auto _ : state) {
        FloodCounter counter;
        auto dos = DOSClass::create();
        dos->setEvents(&counter);
        dos->setCommandName("head");
        dos->setCommandArgument(kFloodArguments);
        if (dos->ExecuteCommand(true) != DOSClass::kResultEnded || counter.bytes != kFloodBytes) {
            state.SkipWithError("flood not delivered whole");
        }
        maxGapMs = std::max(maxGapMs, counter.maxGapMs);
    }
    state.SetBytesProcessed(state.iterations() * kFloodBytes);
    state.counters["doevents_max_gap_ms"] = maxGapMs;
}
BENCHMARK(BM_DOSClassFlood)->UseRealTime()->Unit(benchmark::kMillisecond);

// Each line the child writes holds its write time; the handler compares it with its own clock.
struct LatencyMeter : GapMeter {
    std::string partial;
    std::vector<double> delaysMs;
    void ReceiveOutputs(std::string& text) override {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const double nowNs =
            static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
        partial += text;
        size_t end;
        while ((end = partial.find('\n')) != std::string::npos) {
            delaysMs.push_back((nowNs - std::stod(partial.substr(0, end))) / 1e6);
            partial.erase(0, end + 1);
        }
    }
};

void BM_OutputToEventDelay(benchmark::State& state) {
    LatencyMeter meter;
    for (auto _ : state) {
        auto dos = DOSClass::create();
        dos->setEvents(&meter);
        dos->setCommandName(VEXLO_STAMP_PROGRAM);
        dos->setCommandArgument("200 7");
        meter.last = Clock::now();
        if (dos->ExecuteCommand(true) != DOSClass::kResultEnded)
            state.SkipWithError("stamp child failed");
    }
    std::vector<double>& d = meter.delaysMs;
    if (d.empty())
        return;
    std::sort(d.begin(), d.end());
    state.counters["lines"] = static_cast<double>(d.size());
    state.counters["median_ms"] = d[d.size() / 2];
    state.counters["p99_ms"] = d[d.size() * 99 / 100];
    state.counters["max_ms"] = d.back();
    state.counters["doevents_max_gap_ms"] = meter.maxGapMs;
}
BENCHMARK(BM_OutputToEventDelay)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
