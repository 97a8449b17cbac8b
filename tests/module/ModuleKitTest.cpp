#include <gtest/gtest.h>
#include <pty.h>
#include <simavr/sim_hex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

#include "Chain.h"
#include "ChildRun.h"
#include "Stk500Session.h"
#include "TestFiles.h"
#include "common/CharacterRecord.h"
#include "common/NumberText.h"
#include "download/OutputReading.h"
#include "firmware/Generation.h"
#include "firmware/ModuleCapacity.h"

using enum SendReading;
using Character = std::pair<Picture, double>;  // rows, seconds
// F, J and 4, none symmetric: with no row alike between neighbours, each change shows at the
// first row scanned after it.
const std::vector<Character> fj4 = {{{31, 1, 1, 15, 1, 1, 1}, 0.2},
                                    {{16, 16, 16, 16, 16, 17, 14}, 0.3},
                                    {{8, 12, 10, 9, 31, 8, 8}, 0.1}};

struct Kit : ProgramFolder {
    Kit(Role role, const std::vector<Character>& sequence, const std::string& delay = "0") {
        std::vector<std::string> records;
        for (const auto& [r, seconds] : sequence) {
            records.push_back(
                formatRecord({r[0], r[1], r[2], r[3], r[4], r[5], r[6]}, formatNumber(seconds)));
        }
        writeSequence(std::to_string(sequence.size()), records);
        TextBox box;
        // Beyond what the download lets through, so the Makefile's own limit is tried.
        EXPECT_EQ(generateSource(box, role, delay, path(), path(), 32767).kind,
                  GenerationResult::Ok);
    }
    std::string make(const std::string& arguments) const {
        const std::string command = "cd '" + path() + "' && LC_ALL=C make " + arguments + " 2>&1";
        const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        std::string output;  // read to the end, so make never waits on a full pipe
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
            output.append(buffer, n);
        }
        return output;
    }
    std::vector<uint8_t> firmware() const {
        make("all");
        uint32_t size = 0, start = 0;
        const std::unique_ptr<uint8_t, decltype(&std::free)> data(
            read_ihex_file(file("AfficheurCarac.hex").c_str(), &size, &start), &std::free);
        return data ? std::vector<uint8_t>(data.get(), data.get() + size) : std::vector<uint8_t>();
    }
};

TEST(ModuleBuild, TheGeneratedSourceBuildsOnlyWhenSound) {
    const std::vector<Character> longest(kMaxFirmwareCharacters,
                                         {{31, 17, 29, 7, 19, 11, 21}, 1.25});
    // Role, sequence, slave delay as typed, whether it builds.
    const std::tuple<Role, std::vector<Character>, const char*, bool> cases[] = {
        {Role::Maitre, {}, "0", true},
        {Role::Esclave, {}, "", true},
        {Role::Esclave, fj4, "32767", true},
        {Role::Maitre, longest, "0", true},  // fractional tick counts: the largest blocks
        {Role::Maitre, std::vector(367, longest[0]), "0", false},  // 32.5 kB: over the bootloader
    };
    for (const auto& [role, sequence, delay, builds] : cases) {
        SCOPED_TRACE(std::to_string(sequence.size()) + " characters, delay " + delay);
        const Kit kit(role, sequence, delay);
        writeBytes(kit.file("AfficheurCarac.hex"), "from an earlier build");
        const std::string output = kit.make("all");
        OutputWatch watch = compileWatch();
        watch.add(output);
        EXPECT_EQ(compileOutputSaysBuilt(watch), builds) << output;
        EXPECT_TRUE(!builds || output.find("warning") == std::string::npos) << output;
        EXPECT_EQ(exists(kit.file("AfficheurCarac.hex")), builds);
    }
}

// "make program" to a pseudo-terminal as the module's serial port, silent (B0) or answered by a
// bootloader (the virtual module's) that hears only the bytes sent at `baud`.
std::string programThroughSerial(const Kit& kit, speed_t baud) {
    int controller = -1, port = -1;
    char name[256];
    EXPECT_EQ(openpty(&controller, &port, name, nullptr, nullptr), 0);
    std::thread bootloader([&] {
        Stk500Session session(std::vector<uint8_t>(32768, 0xff));
        char bytes[512];
        termios line{};  // the controller reads the settings avrdude gave the port
        for (ssize_t got; baud != B0 && (got = read(controller, bytes, sizeof bytes)) > 0;) {
            if (tcgetattr(controller, &line) == 0 && cfgetospeed(&line) == baud) {
                const std::string answer = session.receive({bytes, static_cast<size_t>(got)});
                EXPECT_EQ(write(controller, answer.data(), answer.size()), std::ssize(answer));
            }
        }
    });
    const std::string output = kit.make("program PORT=" + std::string(name));
    close(port);  // the controller's reads then fail
    bootloader.join();
    close(controller);
    return output;
}

TEST(ModuleProgram, TheOutputTellsHowTheSendingWent) {
    const Kit kit(Role::Maitre, {fj4[0]});
    kit.make("all");
    ASSERT_EQ(chmod(kit.file("AfficheurCarac.c").c_str(), 0444), 0);  // a port to refuse
    // The output, how the window reads it, what it says.
    const std::tuple<std::string, SendReading, const char*> cases[] = {
        {programThroughSerial(kit, B115200), Sent, "flash verified"},
        {programThroughSerial(kit, B57600), Sent, "flash verified"},  // after 115,200 failed
        {programThroughSerial(kit, B0), NotResponding, "57600 bauds"},
        {kit.make("program PORT=/dev/ttyUSB-vexlo-unplugged"), NotResponding,
         "Aucun module trouvé sur USB"},
        {kit.make("program PORT=net:127.0.0.1:1"), NotResponding,
         "Afficheur virtuel"},  // a virtual module gone
        {inChild([&] { return kit.make("program PORT=AfficheurCarac.c"); }, {.unprivileged = true}),
         Failed, "groupe dialout"},  // a pupil outside the group
    };
    for (const auto& [output, outcome, said] : cases) {
        OutputWatch watch = sendWatch();
        watch.add(output);
        EXPECT_EQ(readSendOutput(watch), outcome) << output;
        EXPECT_NE(output.find(said), std::string::npos) << output;
    }
}

// On the chips' own clock. Module 2, running the master's firmware, programmed again as a slave
// with delay 1 starts over: it shows each character while the master shows the next one, from
// 2 ms after the master's change (each display shows it at its next row, so 1 to 3 ms apart) and
// as long as the master's duration; 1.5 ms pulses on its input between changes change nothing.
TEST(FirmwareTiming, MasterDurationsSlaveDelayAndNoiseFilter) {
    constexpr uint64_t kMs = Chip::kFrequency / 1000;
    const auto ms = [](auto time) { return static_cast<double>(time.count()) / 1e6; };
    const std::vector<uint8_t> masterFirmware = Kit(Role::Maitre, fj4).firmware();
    Chain chain(2);
    std::vector<ShownCharacter> master, slave;
    chain.module(0).decoder().onShown = [&](const auto& c) { master.push_back(c); };
    chain.module(1).decoder().onShown = [&](const auto& c) { slave.push_back(c); };
    chain.module(0).start(masterFirmware, 0);
    chain.module(1).start(masterFirmware, 0);
    chain.runUntil(250 * kMs);
    chain.module(1).start(Kit(Role::Esclave, fj4, "1").firmware(), 250 * kMs);
    double pulse = 500;  // the master's first pulse after that; noise 15 to 83 ms after each
    for (std::size_t n = 2; pulse < 3000; pulse += fj4[n++ % 3].second * 1000) {
        for (const double offset : {15.3, 37.55, 59.8, 81.05}) {
            chain.addNoise(1, static_cast<uint64_t>((pulse + offset) * kMs), 3 * kMs / 2);
        }
    }
    chain.runUntil(3000 * kMs);
    const auto first =
        std::ranges::find_if(
            slave, [&](const auto& c) { return ms(c.start) > 250 && c.rows != Picture{}; }) -
        slave.begin();
    ASSERT_GE(std::ssize(slave), first + 6);
    for (auto n = first; n < std::ssize(slave); ++n) {
        const auto along = std::ranges::find_if(master, [&](const auto& m) {
            return std::abs(ms(m.start) + 2 - ms(slave[n].start)) < 1.5;
        });
        ASSERT_NE(along, master.end()) << "slave character " << n;
        EXPECT_EQ(slave[n].rows, fj4[(n - first) % 3].first) << "slave character " << n;
        EXPECT_EQ(along->rows, fj4[(n - first + 1) % 3].first) << "slave character " << n;
        EXPECT_NEAR(ms(along->duration), fj4[(n - first + 1) % 3].second * 1000, 0.5) << n;
        EXPECT_NEAR(ms(slave[n].duration), ms(along->duration), 0.5) << "slave character " << n;
    }
}
