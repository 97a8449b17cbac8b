// Showing a character record on the grid: 35 dot toggles, each reading its picture file.
// Goal: under 2 ms per record.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace {

void BM_MiseAJourCaractere(benchmark::State& state) {
    BenchWindow bench;
    // Two different records in turn, so every dot really changes half of the time.
    const QString records[] = {QStringLiteral("31;1;1;15;1;1;1;1.5"),
                               QStringLiteral("14;17;17;31;17;17;17;0.5")};
    size_t shown = 0;
    for (auto _ : state) {
        bench.window().MiseAJourCaractère(records[shown++ % 2]);
    }
    benchmark::DoNotOptimize(bench.window().grid().rowValue(0));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_MiseAJourCaractere)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
