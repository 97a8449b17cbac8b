// Delay from a line the build tool prints to that line in the output box: the stand-in compiler
// writes 200 lines 10 ms apart, each holding the CLOCK_MONOTONIC time of its write, and every
// change of the box is read for the lines it completes.
// Goal: median under 20 ms, worst under 100 ms.
#include <benchmark/benchmark.h>
#include <time.h>
#include <QPlainTextEdit>

#include "BenchSupport.h"

namespace {

constexpr int kLines = 200;

double monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void BM_OutputLineLatency(benchmark::State& state) {
    const StandInMake make(
        QStringLiteral(VEXLO_STAMP_PROGRAM " %1 10; echo ' Aucune erreur'").arg(kLines));
    for (auto _ : state) {
        BenchWindow bench;
        auto* box = bench.control<QPlainTextEdit>("RTB1");
        std::vector<double> delays;
        qsizetype read = 0;  // characters of the box already read
        QObject::connect(box, &QPlainTextEdit::textChanged, [&] {
            const double now = monotonicMs();
            const QString text = box->toPlainText();
            if (text.size() < read) {
                read = 0;  // emptied for the next command
            }
            for (qsizetype end; (end = text.indexOf(QLatin1Char('\n'), read)) >= 0;
                 read = end + 1) {
                bool stamp = false;
                const double writtenNs = text.mid(read, end - read).toDouble(&stamp);
                if (stamp) {
                    delays.push_back(now - writtenNs / 1e6);
                }
            }
        });
        bench.click("CBDescendre");
        if (delays.size() != static_cast<size_t>(kLines)) {
            state.SkipWithError("the stand-in build did not print every line");
            return;
        }
        const Spread delay = spreadOf(delays);
        state.counters["delay_median_ms"] = delay.median;
        state.counters["delay_worst_ms"] = delay.worst;
    }
}

BENCHMARK(BM_OutputLineLatency)->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace
