#include "Chain.h"

Chain::Chain(int modules) : wires_(static_cast<std::size_t>(modules)) {
    for (int index = 0; index < modules; ++index) {
        chips_.push_back(std::make_unique<Chip>());
    }
    for (std::size_t index = 0; index + 1 < chips_.size(); ++index) {
        Wire& next = wires_[index + 1];
        chips_[index]->onOutput = [&next](uint64_t cycle, bool high) {
            next.events.emplace(cycle, high ? Event::UpstreamHigh : Event::UpstreamLow);
        };
    }
}

// Module by module in chain order: a module's edges up to `until` are all known before the next
// module runs.
void Chain::runUntil(uint64_t until) {
    for (std::size_t index = 0; index < chips_.size(); ++index) {
        Chip& chip = *chips_[index];
        Wire& wire = wires_[index];
        while (!wire.events.empty() && wire.events.begin()->first <= until) {
            const auto [cycle, event] = *wire.events.begin();
            wire.events.erase(wire.events.begin());
            chip.runUntil(cycle);
            const bool before = wire.upstreamHigh && wire.noises == 0;
            switch (event) {
                case Event::UpstreamHigh:
                case Event::UpstreamLow:
                    wire.upstreamHigh = event == Event::UpstreamHigh;
                    break;
                case Event::NoiseStart:
                    ++wire.noises;
                    break;
                case Event::NoiseEnd:
                    --wire.noises;
                    break;
            }
            const bool after = wire.upstreamHigh && wire.noises == 0;
            if (after != before) {
                chip.setInput(after);
            }
        }
        chip.runUntil(until);
    }
    now_ = std::max(now_, until);
}

void Chain::addNoise(int index, uint64_t from, uint64_t width) {
    Wire& wire = wires_[static_cast<std::size_t>(index)];
    wire.events.emplace(from, Event::NoiseStart);
    wire.events.emplace(from + width, Event::NoiseEnd);
}
