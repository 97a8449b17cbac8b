// "make program" with the real module Makefile and avrdude. A pseudo-terminal stands for the
// module's serial port: left unanswered it is a silent module; answered by FakeBootloader it is
// a module whose serial bootloader takes the firmware at its own baud rate.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ModuleFolder.h"

namespace {

class PseudoTerminal {
  public:
    PseudoTerminal() {
        char name[256];
        if (openpty(&controller_, &port_, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        name_ = name;
    }
    ~PseudoTerminal() {
        close(controller_);
        close(port_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& name() const { return name_; }
    int controller() const { return controller_; }

  private:
    int controller_ = -1;
    int port_ = -1;
    std::string name_;
};

// The part of the STK500 protocol the ATmega328P serial bootloader speaks, enough for avrdude to
// sign on, write the flash and read it back. Bytes sent at another rate than `baud` are dropped,
// as a real bootloader hears only noise then.
class FakeBootloader {
  public:
    FakeBootloader(const PseudoTerminal& port, speed_t baud)
        : fd_(port.controller()), baud_(baud), thread_([this] { serve(); }) {}
    ~FakeBootloader() {
        stop_ = true;
        thread_.join();
    }
    FakeBootloader(const FakeBootloader&) = delete;
    FakeBootloader& operator=(const FakeBootloader&) = delete;

    int pagesWritten() const { return pagesWritten_; }

  private:
    static constexpr unsigned char inSync = 0x14, ok = 0x10;

    // False once asked to stop.
    bool need(std::size_t count) {
        while (input_.size() < count) {
            pollfd p{fd_, POLLIN, 0};
            if (stop_) {
                return false;
            }
            if (poll(&p, 1, 50) <= 0) {
                continue;
            }
            unsigned char bytes[512];
            const ssize_t got = read(fd_, bytes, sizeof bytes);
            if (got <= 0) {
                return false;
            }
            termios line{};
            // The controller side reads the settings avrdude gave the port.
            if (tcgetattr(fd_, &line) == 0 && cfgetospeed(&line) == baud_) {
                input_.insert(input_.end(), bytes, bytes + got);
            }
        }
        return true;
    }

    // Length of the command at the front, end mark included; 0 once asked to stop.
    std::size_t commandLength() {
        const unsigned char command = input_[0];
        if (command == 0x45 || command == 0x64) {  // set extended device, program page
            if (!need(3)) {
                return 0;
            }
            return command == 0x45 ? 2u + input_[1] : 5u + (input_[1] << 8 | input_[2]);
        }
        // Get parameter, set device, load word address, universal instruction, read page;
        // anything else is sync, signature, entering or leaving programming mode, chip erase.
        static const std::map<unsigned char, std::size_t> fixed = {
            {0x41, 3}, {0x42, 22}, {0x55, 4}, {0x56, 6}, {0x74, 5}};
        const auto found = fixed.find(command);
        return found == fixed.end() ? 2 : found->second;
    }

    // The answer between the in-sync and ok bytes; false for a page beyond the flash.
    bool reply(const std::vector<unsigned char>& c, std::vector<unsigned char>& out) {
        const std::size_t page = c.size() > 3 ? static_cast<std::size_t>(c[1] << 8 | c[2]) : 0;
        switch (c[0]) {
            case 0x41:  // version 8.3, anything else 3
                out = {static_cast<unsigned char>(c[1] == 0x81 ? 8 : 3)};
                return true;
            case 0x55:
                address_ = 2u * (c[1] | c[2] << 8);
                return true;
            case 0x56:
                out = {0};
                return true;
            case 0x75:  // signature: ATmega328P
                out = {0x1e, 0x95, 0x0f};
                return true;
            case 0x64:
            case 0x74:
                break;
            default:
                return true;
        }
        if (address_ + page > flash_.size()) {
            return false;
        }
        const auto at = flash_.begin() + static_cast<long>(address_);
        if (c[0] == 0x64) {
            std::copy(c.begin() + 4, c.end() - 1, at);
            ++pagesWritten_;
        } else {
            out.assign(at, at + static_cast<long>(page));
        }
        return true;
    }

    void serve() {
        while (need(1)) {
            const std::size_t length = commandLength();
            if (length == 0 || !need(length)) {
                return;
            }
            const std::vector<unsigned char> command(input_.begin(),
                                                     input_.begin() + static_cast<long>(length));
            input_.erase(input_.begin(), input_.begin() + static_cast<long>(length));
            std::vector<unsigned char> out;
            if (!reply(command, out)) {
                return;
            }
            out.insert(out.begin(), inSync);
            out.push_back(ok);
            ASSERT_EQ(write(fd_, out.data(), out.size()), static_cast<ssize_t>(out.size()));
        }
    }

    int fd_;
    speed_t baud_;
    std::atomic<bool> stop_{false};
    std::atomic<int> pagesWritten_{0};
    std::vector<unsigned char> input_;
    std::vector<unsigned char> flash_ = std::vector<unsigned char>(32768, 0xff);
    std::size_t address_ = 0;
    std::thread thread_;
};

const std::vector<TestCharacter> oneCharacter = {{{4, 10, 17, 17, 31, 17, 17}, 0.5}};

class ModuleProgram : public testing::Test {
  protected:
    void SetUp() override {
        folder_.writeSource(Role::Maitre, oneCharacter);
        ASSERT_NE(findAnyCase(folder_.make("all"), "aucune"), std::string::npos);
    }
    ModuleFolder folder_;
};

void expectError(const std::string& output) {
    EXPECT_EQ(findAnyCase(output, "not responding"), std::string::npos) << output;
    EXPECT_NE(findAnyCase(output, "error"), std::string::npos) << output;
}

void expectSuccess(const std::string& output) {
    EXPECT_EQ(findAnyCase(output, "error"), std::string::npos) << output;
    EXPECT_EQ(findAnyCase(output, "not responding"), std::string::npos) << output;
    EXPECT_NE(output.find("flash verified"), std::string::npos) << output;
}

TEST_F(ModuleProgram, NoModuleIsNotResponding) {
    PseudoTerminal silent;
    const struct {
        std::string port;
        const char* said;
    } cases[] = {{silent.name(), "57600 bauds"},
                 {"/dev/ttyUSB-vexlo-unplugged", "Aucun module trouvé sur USB"},
                 {"", "not responding"}};
    for (const auto& c : cases) {
        const std::string output = folder_.make("program PORT=" + c.port);
        EXPECT_NE(findAnyCase(output, "not responding"), std::string::npos) << output;
        EXPECT_NE(output.find(c.said), std::string::npos) << output;
    }
}

// A virtual module that ended without taking its port file away (killed, say): avrdude finds
// nobody at the port it names.
TEST_F(ModuleProgram, StoppedVirtualModuleIsNotResponding) {
    writeBytes(folder_.file("stopped.port"), "net:127.0.0.1:1\n");
    const std::string output =
        folder_.make("program", "VEXLO_MODULE_PORT_FILE='" + folder_.file("stopped.port") + "' ");
    EXPECT_NE(findAnyCase(output, "not responding"), std::string::npos) << output;
    EXPECT_NE(output.find("Afficheur virtuel"), std::string::npos) << output;
}

TEST_F(ModuleProgram, APortThatIsNoSerialLineOrNoFirmwareIsAnError) {
    writeBytes(folder_.file("notaport"), "");
    expectError(folder_.make("program PORT=notaport"));
    std::remove(folder_.file("AfficheurCarac.hex").c_str());
    expectError(folder_.make("program PORT=/dev/null"));
}

// A pupil's account outside the dialout group: the teacher is told what to do in French.
TEST_F(ModuleProgram, PortThatCannotBeOpenedIsAnErrorWithTheGroupToJoin) {
    writeBytes(folder_.file("port"), "");
    ASSERT_EQ(chmod(folder_.file("port").c_str(), 0), 0);
    std::string user;
    if (geteuid() == 0) {
        if (system("setpriv --version > /dev/null 2>&1") != 0) {
            GTEST_SKIP() << "running as root without setpriv to drop the rights";
        }
        user = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    const std::string output = folder_.make("program PORT=port", user);
    expectError(output);
    EXPECT_NE(output.find("groupe dialout"), std::string::npos) << output;
}

// An older bootloader leaves the first attempt unanswered and takes the firmware at 57,600 baud:
// a success, whatever avrdude said about the first attempt.
TEST_F(ModuleProgram, AnAnsweringModuleIsProgrammedAtItsRate) {
    for (const speed_t baud : {B115200, B57600}) {
        PseudoTerminal port;
        FakeBootloader module(port, baud);
        expectSuccess(folder_.make("program PORT=" + port.name()));
        EXPECT_GT(module.pagesWritten(), 0);
    }
}

}  // namespace
