#include "Chip.h"

#include <simavr/avr_extint.h>
#include <simavr/avr_ioport.h>
#include <simavr/sim_avr.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

enum Port { B, C, D };
constexpr char kPortNames[] = {'B', 'C', 'D'};
constexpr uint8_t kRowsOnC = 0x3F, kRowGOnD = 0x10, kColumnsOnB = 0x1F;
constexpr uint8_t kChainOut = 0x08, kChainInPin = 2;

// simavr prints on standard output, where the headless module prints what it shows: keep its
// errors only, on standard error.
void logErrors(avr_t*, const int level, const char* format, va_list arguments) {
    if (level <= LOG_ERROR) {
        std::vfprintf(stderr, format, arguments);
    }
}

// The chain keeps the pace: the chip never sleeps in real time.
void sleepNot(avr_t*, avr_cycle_count_t) {}

}  // namespace

Chip::Chip() {
    avr_global_logger_set(logErrors);
    powerOn();
}

Chip::~Chip() {
    powerOff();
}

// simavr's reset leaves the I/O registers and the clock as they were: a program starts on a
// core of its own, as on a chip just powered on.
void Chip::powerOn() {
    avr_ = avr_make_mcu_by_name("atmega328p");
    if (avr_ == nullptr || avr_init(avr_) != 0) {
        throw std::runtime_error("simavr has no ATmega328P");
    }
    avr_->frequency = kFrequency;
    avr_->sleep = sleepNot;
    avr_->log = LOG_ERROR;
    for (int port = B; port <= D; ++port) {
        for (bool direction : {false, true}) {
            Hook& hook = hooks_[port * 2 + direction];
            hook = {this, port, direction};
            avr_irq_t* irq =
                avr_io_getirq(avr_, AVR_IOCTL_IOPORT_GETIRQ(kPortNames[port]),
                              direction ? IOPORT_IRQ_DIRECTION_ALL : IOPORT_IRQ_REG_PORT);
            avr_irq_register_notify(irq, registerWritten, &hook);
        }
    }
}

void Chip::powerOff() {
    avr_terminate(avr_);
    std::free(avr_);
}

void Chip::start(std::span<const uint8_t> program, uint64_t now) {
    hold(now);
    if (std::all_of(program.begin(), program.end(), [](uint8_t byte) { return byte == 0xFF; })) {
        return;
    }
    powerOff();
    powerOn();
    const std::size_t size = std::min<std::size_t>(program.size(), avr_->flashend + 1u);
    std::memcpy(avr_->flash, program.data(), size);
    avr_->codeend = avr_->flashend;
    // simavr arms level triggering of INT0 at each reset and then keeps raising it while the
    // input is low, even once the program chose edges.
    avr_extint_set_strict_lvl_trig(avr_, 0, 0);
    std::fill(std::begin(port_), std::end(port_), 0);
    std::fill(std::begin(direction_), std::end(direction_), 0);
    cycleOffset_ = now - avr_->cycle;
    running_ = true;
    applyInput();
}

void Chip::hold(uint64_t now) {
    now_ = std::max(now_, now);
    if (!running_) {
        return;
    }
    running_ = false;
    decoder_.stop(time(now_));
    if (!output_) {
        output_ = true;
        if (onOutput) {
            onOutput(now_, true);
        }
    }
}

void Chip::runUntil(uint64_t until) {
    while (running_ && cycleNow() < until) {
        const int state = avr_run(avr_);
        if (state == cpu_Done || state == cpu_Crashed) {
            hold(cycleNow());
        }
    }
    now_ = std::max(now_, until);
}

void Chip::setInput(bool high) {
    input_ = high;
    if (running_) {
        applyInput();
    }
}

// The wire is declared as the pin's outside level too: simavr's pull-up otherwise forces the
// pin high again on every write to PORTD.
void Chip::applyInput() {
    avr_ioport_external_t external{};
    external.name = 'D';
    external.mask = 1u << kChainInPin;
    external.value = input_ ? 1u << kChainInPin : 0u;
    avr_ioctl(avr_, AVR_IOCTL_IOPORT_SET_EXTERNAL('D'), &external);
    avr_raise_irq(avr_io_getirq(avr_, AVR_IOCTL_IOPORT_GETIRQ('D'), kChainInPin), input_);
}

uint64_t Chip::cycleNow() const {
    return running_ ? avr_->cycle + cycleOffset_ : now_;
}

void Chip::registerWritten(avr_irq_t*, uint32_t value, void* param) {
    const Hook& hook = *static_cast<Hook*>(param);
    Chip& chip = *hook.chip;
    if (!chip.running_) {
        return;
    }
    (hook.direction ? chip.direction_ : chip.port_)[hook.port] = static_cast<uint8_t>(value);
    chip.levelsChanged();
}

// A line drives only while its pin is an output: a row is lit while driven high, a column sinks
// while driven low, and the chain output left as an input reads high through the next module's
// pull-up.
void Chip::levelsChanged() {
    const auto driven = [this](int port) { return port_[port] & direction_[port]; };
    const uint8_t rowsLit =
        static_cast<uint8_t>((driven(C) & kRowsOnC) | ((driven(D) & kRowGOnD) ? 0x40 : 0));
    const uint8_t columnsLow = static_cast<uint8_t>(~port_[B] & direction_[B] & kColumnsOnB);
    const uint64_t cycle = cycleNow();
    decoder_.lines(time(cycle), rowsLit, columnsLow);
    const bool output = !(direction_[D] & kChainOut) || (port_[D] & kChainOut);
    if (output != output_) {
        output_ = output;
        if (onOutput) {
            onOutput(cycle, output);
        }
    }
}
