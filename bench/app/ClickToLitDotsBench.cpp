// From the click on the download button to the first lit dots of a virtual module: the real
// generation, make all (avr-gcc), make program (avrdude) and the emulated module, which runs in
// this process so the moment its dots light is seen to the millisecond.
// Goal: under 3 s.
#include <benchmark/benchmark.h>
#include <QTemporaryDir>
#include <QTest>

#include "BenchSupport.h"
#include "VirtualModule.h"
#include "app/DotBox.h"

namespace {

bool anyDotLit(VirtualModule& module) {
    const std::optional<Picture> shown = module.chain().view()[0].shown;
    return shown && *shown != Picture{};
}

void BM_ClickToLitDots(benchmark::State& state) {
    QTemporaryDir portFolder;
    qputenv("VEXLO_MODULE_PORT_FILE", portFolder.filePath("port").toUtf8());
    std::vector<double> downloads, litDots;
    for (auto _ : state) {
        BenchWindow bench;
        for (const char* dot : {"A0", "A1", "A2", "A3", "A4", "B0", "C0", "D0", "E0", "F0", "G0"}) {
            QTest::mouseClick(bench.control<DotBox>(dot), Qt::LeftButton);
        }
        bench.validateCharacters(1, QStringLiteral("0.5"));
        VirtualModule module(1, [](int, const ShownCharacter&) {});
        if (!module.open().empty()) {
            state.SkipWithError("the virtual module does not open");
            return;
        }

        const BenchClock::time_point start = BenchClock::now();
        bench.click("CBDescendre");
        downloads.push_back(millisecondsBetween(start, BenchClock::now()));
        if (!QTest::qWaitFor([&] { return anyDotLit(module); }, 10000) ||
            !bench.seam().lastPrompt.startsWith(QStringLiteral("Programmation réussie"))) {
            state.SkipWithError("the download did not light the module");
            return;
        }
        litDots.push_back(millisecondsBetween(start, BenchClock::now()));
    }
    const Spread lit = spreadOf(litDots), download = spreadOf(downloads);
    state.counters["lit_median_ms"] = lit.median;
    state.counters["lit_worst_ms"] = lit.worst;
    state.counters["download_median_ms"] = download.median;
}

BENCHMARK(BM_ClickToLitDots)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
