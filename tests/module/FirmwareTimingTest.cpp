// The generated firmware, built by the module Makefile, on emulated modules: what each module
// shows and for how long, on the chips' own clock (so a busy machine changes nothing).

#include <gtest/gtest.h>
#include <simavr/sim_hex.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "Chain.h"
#include "ModuleFolder.h"

namespace {

// F, J and 4, none symmetric: with no row alike between neighbours, each change shows at the
// first row scanned after it.
const std::vector<TestCharacter> sequence = {
    {{31, 1, 1, 15, 1, 1, 1}, 0.2},
    {{16, 16, 16, 16, 16, 17, 14}, 0.3},
    {{8, 12, 10, 9, 31, 8, 8}, 0.1},
};
constexpr uint64_t kCyclesPerMs = Chip::kFrequency / 1000;
constexpr double kToleranceMs = 0.5;

Picture picture(std::size_t index) {
    const TestCharacter& character = sequence[index % sequence.size()];
    Picture rows{};
    std::copy(std::begin(character.rows), std::end(character.rows), rows.begin());
    return rows;
}

double ms(std::chrono::nanoseconds time) {
    return static_cast<double>(time.count()) / 1e6;
}

std::vector<uint8_t> firmware(Role role, std::string_view delay = "0") {
    ModuleFolder folder;
    folder.writeSource(role, sequence, delay);
    const std::string build = folder.make("all");
    EXPECT_NE(findAnyCase(build, "aucune"), std::string::npos) << build;
    uint32_t size = 0, start = 0;
    std::unique_ptr<uint8_t, decltype(&std::free)> data(
        read_ihex_file(folder.file("AfficheurCarac.hex").c_str(), &size, &start), &std::free);
    return data ? std::vector<uint8_t>(data.get(), data.get() + size) : std::vector<uint8_t>();
}

TEST(FirmwareTiming, MasterShowsEveryCharacterForItsDurationAtEveryPass) {
    Chain chain(1);
    std::vector<ShownCharacter> shown;
    chain.module(0).decoder().onShown = [&](const ShownCharacter& c) { shown.push_back(c); };
    chain.module(0).start(firmware(Role::Maitre), 0);
    chain.runUntil(2000 * kCyclesPerMs);

    ASSERT_GE(shown.size(), 9u);
    for (std::size_t n = 0; n < shown.size(); ++n) {
        EXPECT_EQ(shown[n].rows, picture(n)) << "character " << n;
        EXPECT_NEAR(ms(shown[n].duration), sequence[n % 3].seconds * 1000, kToleranceMs)
            << "character " << n;
    }
}

// Programmed again, a module starts over from a chip just powered on, whatever ran before.
TEST(FirmwareTiming, ModuleProgrammedAgainStartsOver) {
    Chain chain(1);
    std::vector<ShownCharacter> shown;
    chain.module(0).decoder().onShown = [&](const ShownCharacter& c) { shown.push_back(c); };
    const std::vector<uint8_t> master = firmware(Role::Maitre);
    chain.module(0).start(master, 0);
    chain.runUntil(300 * kCyclesPerMs);
    chain.module(0).start(firmware(Role::Esclave), 300 * kCyclesPerMs);  // dark without a master
    chain.runUntil(600 * kCyclesPerMs);
    chain.module(0).start(master, 600 * kCyclesPerMs);
    chain.runUntil(1200 * kCyclesPerMs);

    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[2].rows, Picture{});
    EXPECT_NEAR(ms(shown[3].start), 601, 1.0);
    for (std::size_t n = 3; n < 5; ++n) {
        EXPECT_EQ(shown[n].rows, picture(n - 3));
        EXPECT_NEAR(ms(shown[n].duration), sequence[n - 3].seconds * 1000, kToleranceMs);
    }
}

// A slave with delay 1 shows each character while the master shows the next one, from 2 ms after
// the master's change (the pulse is known for one only then; each display shows it at its next
// row, so 1 to 3 ms apart) and as long as the master does; pulses of 1.5 ms on its input,
// between the master's, change nothing.
TEST(FirmwareTiming, SlaveFollowsOneStepBehindAndIgnoresShortNoise) {
    Chain chain(2);
    std::vector<ShownCharacter> master, slave;
    chain.module(0).decoder().onShown = [&](const ShownCharacter& c) { master.push_back(c); };
    chain.module(1).decoder().onShown = [&](const ShownCharacter& c) { slave.push_back(c); };
    chain.module(0).start(firmware(Role::Maitre), 0);
    chain.module(1).start(firmware(Role::Esclave, "1"), 250 * kCyclesPerMs);

    // Every character lasts at least 100 ms: noise from 15 to 83 ms after a pulse began stays
    // clear of the pulses, at a different phase of the slave's millisecond each time.
    int noises = 0;
    bool pulse = false;
    for (uint64_t cycle = 0; cycle < 3000 * kCyclesPerMs; cycle += kCyclesPerMs / 4) {
        chain.runUntil(cycle);
        const bool low = !chain.module(0).output();
        if (low && !pulse) {
            for (double offsetMs : {15.3, 37.55, 59.8, 81.05}) {
                chain.addNoise(1, cycle + static_cast<uint64_t>(offsetMs * kCyclesPerMs),
                               3 * kCyclesPerMs / 2);
                ++noises;
            }
        }
        pulse = low;
    }
    EXPECT_GT(noises, 50);

    std::size_t first = 0;
    while (first < slave.size() && slave[first].rows == Picture{}) {
        ++first;
    }
    ASSERT_GE(slave.size(), first + 6);
    for (std::size_t n = first; n < slave.size(); ++n) {
        const ShownCharacter& shown = slave[n];
        EXPECT_EQ(shown.rows, picture(n - first)) << "slave character " << n;
        const auto along = std::find_if(master.begin(), master.end(), [&](const auto& m) {
            return std::abs(ms(m.start) + 2 - ms(shown.start)) < 1.5;
        });
        ASSERT_NE(along, master.end()) << "slave character " << n << " at " << ms(shown.start);
        EXPECT_EQ(along->rows, picture(n - first + 1)) << "slave character " << n;
        EXPECT_NEAR(ms(shown.duration), ms(along->duration), kToleranceMs)
            << "slave character " << n;
    }
}

}  // namespace
