// Preview tick accuracy at 100 ms. Each tick of Timer1 re-arms it, so a tick is due one interval
// after the previous tick armed it; its lateness is how much later it arrives. Measured over
// 100 ticks with the window idle, and while a build command runs (the window then handles its
// events between polls of the command).
// Goals: worst lateness under 5 ms idle, under 30 ms during a build.
#include <benchmark/benchmark.h>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr int kTicks = 100;
constexpr double kIntervalMs = 100.0;

// Records, for each tick of the timer, when it fired (before the window's handler runs) and when
// the handler had re-armed the timer (a slot connected after the window's own).
class TickRecorder : public QObject {
  public:
    TickRecorder(QTimer* timer, std::function<bool()> counting)
        : timer_(timer), counting_(std::move(counting)) {
        timer->installEventFilter(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (counting_()) {
                ticks.push_back({fired_, BenchClock::now()});
                if (ticks.size() == kTicks + 1 && onEnough) {
                    onEnough();
                }
            }
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == timer_ && event->type() == QEvent::Timer) {
            fired_ = BenchClock::now();
        }
        return QObject::eventFilter(watched, event);
    }

    struct Tick {
        BenchClock::time_point fired;
        BenchClock::time_point armed;
    };
    std::vector<Tick> ticks;

    // Lateness of each tick after the first, in milliseconds (negative when early).
    std::vector<double> lateness() const {
        std::vector<double> late;
        for (size_t i = 1; i < ticks.size() && i <= kTicks; ++i) {
            late.push_back(millisecondsBetween(ticks[i - 1].armed, ticks[i].fired) - kIntervalMs);
        }
        return late;
    }

    std::function<void()> onEnough;  // called once 100 ticks after the first are in

  private:
    QTimer* timer_;
    std::function<bool()> counting_;
    BenchClock::time_point fired_;
};

// `preciseTimer` switches Timer1 to Qt's precise timer first, for comparison: by default Qt may
// move a timer's tick by up to 5 % of its interval to group wake-ups.
void BM_PreviewTicks(benchmark::State& state, bool duringBuild, bool preciseTimer) {
    // The stand-in build outlasts 100 ticks.
    const StandInMake make(duringBuild ? 125 : 1);
    for (auto _ : state) {
        BenchWindow bench;
        bench.validateCharacters(3, QStringLiteral("0.1"));
        bench.setText("TDurée", QStringLiteral("0.1"));
        EditorWindow& window = bench.window();
        if (preciseTimer) {
            bench.control<QTimer>("Timer1")->setTimerType(Qt::PreciseTimer);
        }
        TickRecorder recorder(bench.control<QTimer>("Timer1"), [&window, duringBuild] {
            return !duringBuild || window.downloading();
        });

        if (duringBuild) {
            // Started once the build runs: the download's generation leaves the current
            // character number past the last record, where a running preview would stall.
            QTimer::singleShot(0, [&bench] { bench.click("CBDéfiler"); });
            bench.click("CBDescendre");  // returns once the build and the download have run
            if (!bench.seam().lastPrompt.startsWith(QStringLiteral("Programmation r"))) {
                state.SkipWithError("the stand-in build did not succeed");
                return;
            }
        } else {
            bench.click("CBDéfiler");
            QEventLoop loop;
            recorder.onEnough = [&loop] { loop.quit(); };
            loop.exec();
        }
        bench.click("CBDéfiler");

        const std::vector<double> late = recorder.lateness();
        if (late.size() < kTicks) {
            const std::string what = "only " + std::to_string(late.size()) + " ticks were recorded";
            state.SkipWithError(what.c_str());
            return;
        }
        const Spread spread = spreadOf(late);
        state.counters["ticks"] = static_cast<double>(late.size());
        state.counters["late_median_ms"] = spread.median;
        state.counters["late_worst_ms"] = spread.worst;
        state.counters["early_worst_ms"] = spread.best < 0 ? -spread.best : 0;
    }
}

BENCHMARK_CAPTURE(BM_PreviewTicks, idle, false, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_PreviewTicks, during_build, true, false)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_PreviewTicks, idle_precise_timer, false, true)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
