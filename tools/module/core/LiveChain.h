#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Chain.h"

// A chain of modules running at the pace of real time on a thread of its own, which the window,
// the cable and the headless printer reach from theirs. A machine too busy to keep the pace
// slows the modules' clock down rather than rushing it to catch up: what they show keeps its
// timing on their own clock.
class LiveChain {
  public:
    enum class State { Blank, Programming, Running, Stopped };
    // What a module shows now and what it is doing.
    struct View {
        std::optional<Picture> shown;
        State state;
    };
    // Told on the chain's thread of each character a module has ended showing.
    using Listener = std::function<void(int module, const ShownCharacter&)>;

    LiveChain(int modules, Listener listener);
    ~LiveChain();
    LiveChain(const LiveChain&) = delete;
    LiveChain& operator=(const LiveChain&) = delete;

    int size() const { return static_cast<int>(programs_.size()); }
    std::vector<View> view() const;

    // Holds the module in its bootloader and returns its program.
    std::vector<uint8_t> enterBootloader(int module);
    // Starts the module with `program` (a blank one leaves it blank).
    void run(int module, std::vector<uint8_t> program);

  private:
    void keepPace();

    mutable std::mutex mutex_;
    Chain chain_;
    std::vector<std::vector<uint8_t>> programs_;
    std::vector<bool> programming_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
