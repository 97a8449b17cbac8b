// An edit of a 1,000-character sequence as the pupil waits for it: the change written through
// the sequence model, the label's reaction, the strip given the new sequence and the window
// painted again. Duplicate and delete alternate on character 500, so the length stays put.
// paint_median_ms is the window's painting alone; the rest is the model's change, its file
// written and flushed to disk, and the strip given the new records.
// Goal: under 16 ms (one frame) for each edit.
#include <benchmark/benchmark.h>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include "BenchSupport.h"
#include "app/SequenceStrip.h"

namespace {

constexpr int kLength = 1000;

void BM_EditWithStrip(benchmark::State& state) {
    BenchWindow bench;
    if (!QTest::qWaitForWindowExposed(&bench.window())) {
        state.SkipWithError("the window is not on screen");
        return;
    }
    QByteArray file = QByteArrayLiteral("[Caract\xE8res]\r\nNombre=1000\r\n");
    for (int n = 1; n <= kLength; ++n) {
        file += "Caract\xE8re" + QByteArray::number(n) + "=" + QByteArray::number(n % 32) +
                ";17;17;31;17;17;17;0.5\r\n";
    }
    const QString path = bench.window().workingFile() + QStringLiteral(".source");
    QFile source(path);
    if (!source.open(QIODevice::WriteOnly) || source.write(file) != file.size()) {
        state.SkipWithError("cannot write the sequence file");
        return;
    }
    source.close();
    bench.window().chargerFichier(path);
    auto* strip = bench.control<SequenceStrip>("Bande");
    emit strip->showRequested(kLength / 2);
    QAction* edits[] = {bench.control<QAction>("mnudupliquer"),
                        bench.control<QAction>("mnusupprimer")};
    if (strip->count() != kLength || strip->shown() != kLength / 2) {
        state.SkipWithError("the sequence did not load");
        return;
    }
    std::vector<double> answers, paints;
    size_t done = 0;
    for (auto _ : state) {
        const BenchClock::time_point start = BenchClock::now();
        edits[done++ % 2]->trigger();
        const BenchClock::time_point edited = BenchClock::now();
        QCoreApplication::sendPostedEvents();
        bench.window().repaint();
        answers.push_back(millisecondsBetween(start, BenchClock::now()));
        paints.push_back(millisecondsBetween(edited, BenchClock::now()));
    }
    if (strip->count() < kLength || bench.seam().messages != 0) {
        state.SkipWithError("an edit was not stored");
        return;
    }
    const Spread spread = spreadOf(answers);
    state.counters["median_ms"] = spread.median;
    state.counters["worst_ms"] = spread.worst;
    state.counters["paint_median_ms"] = spreadOf(paints).median;
}

BENCHMARK(BM_EditWithStrip)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
