#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "DotDecoder.h"

struct avr_t;

// One display module: an ATmega328P at 16 MHz emulated by simavr, wired as the module kit's
// README says. Its matrix lines are decoded into the characters it shows; its chain output (D3)
// is reported, its chain input (D2) can be driven. Time is counted in the chip's cycles on the
// chain's clock, which keeps running while the chip is held. Used from one thread.
class Chip {
  public:
    static constexpr uint32_t kFrequency = 16'000'000;

    Chip();
    ~Chip();
    Chip(const Chip&) = delete;
    Chip& operator=(const Chip&) = delete;

    // Writes `program` at the start of the flash (the rest erased) and starts it as after
    // power-on at cycle `now`. A program of erased bytes only leaves the chip held.
    void start(std::span<const uint8_t> program, uint64_t now);

    // Holds the chip in reset from cycle `now`, as while its bootloader takes a program: the
    // display goes dark, the chain output is released (reads high).
    void hold(uint64_t now);

    bool running() const { return running_; }

    // Runs the program up to cycle `until` (just held chips only let the time pass). A program
    // that crashed or stopped leaves the chip held.
    void runUntil(uint64_t until);
    uint64_t now() const { return now_; }

    // Drives the chain input D2 from outside, at the chip's current cycle.
    void setInput(bool high);

    DotDecoder& decoder() { return decoder_; }
    const DotDecoder& decoder() const { return decoder_; }

    // The chain output D3: low during a pulse.
    bool output() const { return output_; }
    // Told of each change of the chain output: the cycle and the new level.
    std::function<void(uint64_t cycle, bool high)> onOutput;

    static std::chrono::nanoseconds time(uint64_t cycle) {
        return std::chrono::nanoseconds(cycle * 1000 / (kFrequency / 1'000'000));
    }

  private:
    // Which register of which port (B, C, D) a simavr notification is about.
    struct Hook {
        Chip* chip;
        int port;
        bool direction;
    };
    void powerOn();
    void powerOff();
    static void registerWritten(struct avr_irq_t* irq, uint32_t value, void* param);
    void levelsChanged();
    uint64_t cycleNow() const;
    void applyInput();

    Hook hooks_[6];

    avr_t* avr_;
    bool running_ = false;
    uint64_t now_ = 0;
    uint64_t cycleOffset_ = 0;  // chain cycle minus simavr's cycle while running
    uint8_t port_[3] = {};      // PORTB, PORTC, PORTD as last written
    uint8_t direction_[3] = {};
    bool output_ = true;
    bool input_ = true;
    DotDecoder decoder_;
};
