#include "LiveChain.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t kFlashBytes = 32 * 1024;
// Emulated between two looks at the wall clock: short enough for the cable and the window to
// wait little, long enough to cost little.
constexpr uint64_t kStepCycles = Chip::kFrequency / 1000;
constexpr auto kLongestLag = std::chrono::milliseconds(100);

}  // namespace

LiveChain::LiveChain(int modules, Listener listener)
    : chain_(modules),
      programs_(static_cast<std::size_t>(modules), std::vector<uint8_t>(kFlashBytes, 0xFF)),
      programming_(static_cast<std::size_t>(modules), false) {
    for (int module = 0; module < modules; ++module) {
        chain_.module(module).decoder().onShown = [listener, module](const ShownCharacter& c) {
            listener(module, c);
        };
    }
    thread_ = std::thread([this] { keepPace(); });
}

LiveChain::~LiveChain() {
    stop_ = true;
    thread_.join();
}

std::vector<LiveChain::View> LiveChain::view() const {
    const std::lock_guard lock(mutex_);
    std::vector<View> views;
    for (int module = 0; module < size(); ++module) {
        const auto index = static_cast<std::size_t>(module);
        const bool blank = std::all_of(programs_[index].begin(), programs_[index].end(),
                                       [](uint8_t byte) { return byte == 0xFF; });
        const State state = programming_[index]               ? State::Programming
                            : blank                           ? State::Blank
                            : chain_.module(module).running() ? State::Running
                                                              : State::Stopped;
        views.push_back({chain_.module(module).decoder().shown(), state});
    }
    return views;
}

std::vector<uint8_t> LiveChain::enterBootloader(int module) {
    const std::lock_guard lock(mutex_);
    chain_.module(module).hold(chain_.now());
    programming_[static_cast<std::size_t>(module)] = true;
    return programs_[static_cast<std::size_t>(module)];
}

void LiveChain::run(int module, std::vector<uint8_t> program) {
    const std::lock_guard lock(mutex_);
    const auto index = static_cast<std::size_t>(module);
    programs_[index] = std::move(program);
    programming_[index] = false;
    chain_.module(module).start(programs_[index], chain_.now());
}

void LiveChain::keepPace() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point origin = Clock::now();
    while (!stop_) {
        uint64_t reached;
        {
            const std::lock_guard lock(mutex_);
            chain_.runUntil(chain_.now() + kStepCycles);
            reached = chain_.now();
        }
        const auto due = origin + std::chrono::duration_cast<Clock::duration>(Chip::time(reached));
        const auto now = Clock::now();
        if (due > now) {
            std::this_thread::sleep_until(due);
        } else if (now - due > kLongestLag) {
            origin += now - due;
        }
    }
}
