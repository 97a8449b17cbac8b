// Edits of long sequences as the pupil waits for them: the change written through the sequence
// model, the label's reaction, the strip given the new sequence and the window painted again.
// Goal: under 16 ms (one frame) for each answer.
#include <benchmark/benchmark.h>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include "BenchSupport.h"
#include "app/SequenceStrip.h"

namespace {

constexpr int kLength = 1000;

// Loads a sequence of `length` characters into the shown window; false when it did not load.
bool loadSequence(BenchWindow& bench, int length) {
    QByteArray file = "[Caract\xE8res]\r\nNombre=" + QByteArray::number(length) + "\r\n";
    for (int n = 1; n <= length; ++n) {
        file += "Caract\xE8re" + QByteArray::number(n) + "=" + QByteArray::number(n % 32) +
                ";17;17;31;17;17;17;0.5\r\n";
    }
    const QString path = bench.window().workingFile() + QStringLiteral(".source");
    QFile source(path);
    if (!QTest::qWaitForWindowExposed(&bench.window()) || !source.open(QIODevice::WriteOnly) ||
        source.write(file) != file.size()) {
        return false;
    }
    source.close();
    bench.window().chargerFichier(path);
    return bench.control<SequenceStrip>("Bande")->count() == length;
}

// Each answer: the action, the posted events, the window painted again.
double answerMs(BenchWindow& bench, QAction* action) {
    const BenchClock::time_point start = BenchClock::now();
    action->trigger();
    QCoreApplication::sendPostedEvents();
    bench.window().repaint();
    return millisecondsBetween(start, BenchClock::now());
}

void report(benchmark::State& state, const std::vector<double>& answers) {
    const Spread spread = spreadOf(answers);
    state.counters["median_ms"] = spread.median;
    state.counters["worst_ms"] = spread.worst;
}

// Duplicate and delete alternate on character 500 of 1,000, so the length stays put.
void BM_EditWithStrip(benchmark::State& state) {
    BenchWindow bench;
    if (!loadSequence(bench, kLength)) {
        state.SkipWithError("the sequence did not load");
        return;
    }
    auto* strip = bench.control<SequenceStrip>("Bande");
    emit strip->showRequested(kLength / 2);
    QAction* edits[] = {bench.control<QAction>("mnudupliquer"),
                        bench.control<QAction>("mnusupprimer")};
    std::vector<double> answers;
    size_t done = 0;
    for (auto _ : state) {
        answers.push_back(answerMs(bench, edits[done++ % 2]));
    }
    if (strip->count() != kLength || bench.seam().messages != 0) {
        state.SkipWithError("an edit was not stored");
        return;
    }
    report(state, answers);
}

// Undo of File > New on a sequence as long as the module's memory allows (325 characters):
// the whole sequence written back and shown in the strip. Goal: under 16 ms.
void BM_UndoNewWithStrip(benchmark::State& state) {
    constexpr int kModuleLength = 325;
    BenchWindow bench;
    if (!loadSequence(bench, kModuleLength)) {
        state.SkipWithError("the sequence did not load");
        return;
    }
    auto* strip = bench.control<SequenceStrip>("Bande");
    auto* newSequence = bench.control<QAction>("mnunouveau");
    auto* undo = bench.control<QAction>("mnuannuler");
    std::vector<double> answers;
    for (auto _ : state) {
        state.PauseTiming();
        newSequence->trigger();
        state.ResumeTiming();
        answers.push_back(answerMs(bench, undo));
        if (strip->count() != kModuleLength) {
            state.SkipWithError("the undo did not bring the sequence back");
            return;
        }
    }
    report(state, answers);
}

BENCHMARK(BM_EditWithStrip)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_UndoNewWithStrip)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
