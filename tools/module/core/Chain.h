#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "Chip.h"

// A master and the slaves after it, each module's chain output wired to the next one's chain
// input as the module kit's README says, run in step on one clock. An edge reaches the next
// module at the very cycle it left the previous one. Used from one thread.
class Chain {
  public:
    explicit Chain(int modules);

    int size() const { return static_cast<int>(chips_.size()); }
    Chip& module(int index) { return *chips_[static_cast<std::size_t>(index)]; }
    const Chip& module(int index) const { return *chips_[static_cast<std::size_t>(index)]; }

    // Runs every module up to cycle `until`.
    void runUntil(uint64_t until);
    uint64_t now() const { return now_; }

    // Pulls the wire into module `index` low from cycle `from` (not before now()) for `width`
    // cycles, as a parasite would, whatever drives it.
    void addNoise(int index, uint64_t from, uint64_t width);

  private:
    enum class Event { UpstreamHigh, UpstreamLow, NoiseStart, NoiseEnd };
    // The wire into a module: its driver's level (high when there is none) and the noise on it.
    struct Wire {
        std::multimap<uint64_t, Event> events;
        bool upstreamHigh = true;
        int noises = 0;
    };

    std::vector<std::unique_ptr<Chip>> chips_;
    std::vector<Wire> wires_;
    uint64_t now_ = 0;
};
