// Responsiveness of the window during a 3-second build (argument 0) or while the compiler
// floods the output box with N megabytes (argument N): a 5 ms timer records when the event loop
// handles it, and a dot click is posted every 100 ms; the largest gap between handled timer
// events and the longest wait of a click tell how long the window stays deaf. Clicks go on for
// a second once the download has ended, for the idle window's answer.
// Goal: a click during the build answered as fast as an idle one, median under 5 ms, and no gap
// above 30 ms; every click answered within 100 ms in the flood.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <memory>

#include "BenchSupport.h"
#include "app/DotBox.h"

namespace {

void BM_BuildResponsiveness(benchmark::State& state) {
    const auto make =
        state.range(0) == 0
            ? std::make_unique<StandInMake>(30)
            : std::make_unique<StandInMake>(
                  QStringLiteral("yes 'AfficheurCarac.c:12: error: expected ; before x' | "
                                 "head -c %1; echo ' Aucune erreur'")
                      .arg(state.range(0) * 1000000));
    for (auto _ : state) {
        BenchWindow bench;
        bench.validateCharacters(2, QStringLiteral("0.5"));
        EditorWindow& window = bench.window();
        DotBox* dot = bench.control<DotBox>("D2");

        std::vector<BenchClock::time_point> handled;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (window.downloading()) {
                handled.push_back(BenchClock::now());
            }
        });

        std::vector<double> clickWaits, idleWaits;  // during the download, then once it ended
        bool idle = false;
        BenchClock::time_point posted;
        bool waiting = false;
        QObject::connect(dot, &DotBox::clicked, [&](int) {
            if (waiting) {
                (idle ? idleWaits : clickWaits)
                    .push_back(millisecondsBetween(posted, BenchClock::now()));
                waiting = false;
            }
        });
        QTimer clicker;
        clicker.setInterval(100);
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            if ((!window.downloading() && !idle) || waiting) {
                return;
            }
            const QPointF middle(dot->width() / 2.0, dot->height() / 2.0);
            posted = BenchClock::now();
            waiting = true;
            QCoreApplication::postEvent(
                dot, new QMouseEvent(QEvent::MouseButtonPress, middle, dot->mapToGlobal(middle),
                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        });

        probe.start();
        clicker.start();
        const BenchClock::time_point start = BenchClock::now();
        bench.click("CBDescendre");  // returns once the build and the download have run
        const double buildMs = millisecondsBetween(start, BenchClock::now());
        probe.stop();
        idle = true;
        waiting = false;
        QEventLoop idleSecond;
        QTimer::singleShot(1000, &idleSecond, &QEventLoop::quit);
        idleSecond.exec();
        clicker.stop();
        if (!bench.seam().lastPrompt.startsWith(QStringLiteral("Programmation r")) ||
            handled.size() < 2 || clickWaits.empty()) {
            state.SkipWithError(("the stand-in build did not run as expected: " +
                                 bench.seam().lastPrompt.toStdString())
                                    .c_str());
            return;
        }

        std::vector<double> gaps;
        for (size_t i = 1; i < handled.size(); ++i) {
            gaps.push_back(millisecondsBetween(handled[i - 1], handled[i]));
        }
        const Spread gap = spreadOf(gaps);
        const Spread wait = spreadOf(clickWaits);
        state.counters["build_ms"] = buildMs;
        state.counters["gap_median_ms"] = gap.median;
        state.counters["gap_worst_ms"] = gap.worst;
        state.counters["clicks"] = static_cast<double>(clickWaits.size());
        state.counters["click_wait_median_ms"] = wait.median;
        state.counters["click_wait_worst_ms"] = wait.worst;
        state.counters["idle_click_wait_median_ms"] = spreadOf(idleWaits).median;
    }
}

BENCHMARK(BM_BuildResponsiveness)->Arg(0)->Arg(100)->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace
