// The editor's answer to one change of a long sequence, file written and records read back for
// the strip as the window does; goal: well under 16 ms (one frame) at 1,000 characters, and for
// Undo of New at 325.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "common/CharacterRecord.h"
#include "sequence/SequenceModel.h"
#include "storage/FileAccess.h"
#include "storage/SequenceRecords.h"

namespace {

// A model on a working file of its own, loaded with `characters` drawn characters, showing the
// middle one.
class LongSequence {
  public:
    explicit LongSequence(int characters) {
        const std::vector<std::string> records(static_cast<size_t>(characters),
                                               "14;17;17;31;17;17;17;0.5");
        if (writeFileAtomically(source(), sequenceFileBytes(records)) != 0 ||
            model.load(source()).kind != Step::Moved) {
            std::abort();
        }
        while (model.shownNumber() < characters / 2) {
            model.next();
        }
    }
    ~LongSequence() {
        ::unlink(source().c_str());
        ::unlink(model.workingFile().c_str());
        ::rmdir(folder_.c_str());
    }

    // What the strip reads after a change: every record's dots.
    void readForStrip() const {
        for (const std::string& record : model.records()) {
            const RecordFields fields = splitRecord(record);
            for (const std::string& row : fields.rows) {
                benchmark::DoNotOptimize(litDotsOfField(row));
            }
        }
    }

  private:
    static std::string newFolder() {
        std::string folder = "/tmp/vexlo-bench-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) {
            std::abort();
        }
        return folder;
    }
    std::string folder_ = newFolder();

  public:
    SequenceModel model{folder_ + "/MessageTemporaire.car"};

  private:
    std::string source() const { return folder_ + "/long.car"; }
};

void check(const Step& step) {
    if (step.kind != Step::Moved) {
        std::abort();
    }
}

// Inserts a blank character in the middle; the paused delete puts the sequence back.
void BM_InsertOn1000(benchmark::State& state) {
    LongSequence sequence(1000);
    for (auto _ : state) {
        check(sequence.model.insertBlank());
        sequence.readForStrip();
        state.PauseTiming();
        check(sequence.model.deleteShown());
        state.ResumeTiming();
    }
}

// Moves the middle character one place on, back and forth.
void BM_MoveOn1000(benchmark::State& state) {
    LongSequence sequence(1000);
    int delta = 1;
    for (auto _ : state) {
        check(sequence.model.moveShown(delta));
        sequence.readForStrip();
        delta = -delta;
    }
}

// Validates the middle character with another drawing each time, then steps back to it.
void BM_ValidateOn1000(benchmark::State& state) {
    LongSequence sequence(1000);
    int16_t row = 0;
    for (auto _ : state) {
        row = static_cast<int16_t>((row + 1) % 32);
        check(sequence.model.validate({row, 0, 0, 0, 0, 0, 0}, "0.5"));
        sequence.readForStrip();
        state.PauseTiming();
        check(sequence.model.previous());
        state.ResumeTiming();
    }
}

// Undo of New brings 325 characters back.
void BM_UndoNewOn325(benchmark::State& state) {
    LongSequence sequence(325);
    for (auto _ : state) {
        state.PauseTiming();
        check(sequence.model.newSequence());
        state.ResumeTiming();
        check(sequence.model.undo());
        sequence.readForStrip();
    }
}

BENCHMARK(BM_InsertOn1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveOn1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidateOn1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoNewOn325)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
