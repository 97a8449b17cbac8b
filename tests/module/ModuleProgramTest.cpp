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

    std::vector<unsigned char> take(std::size_t count) {
        std::vector<unsigned char> command(input_.begin(),
                                           input_.begin() + static_cast<long>(count));
        input_.erase(input_.begin(), input_.begin() + static_cast<long>(count));
        return command;
    }

    void answer(std::vector<unsigned char> reply) {
        reply.insert(reply.begin(), inSync);
        reply.push_back(ok);
        ASSERT_EQ(write(fd_, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
    }

    void serve() {
        while (need(1)) {
            const unsigned char command = input_[0];
            switch (command) {
                case 0x41:  // get parameter: version 8.3, anything else 3
                    if (!need(3)) {
                        return;
                    }
                    answer({static_cast<unsigned char>(take(3)[1] == 0x81 ? 8 : 3)});
                    break;
                case 0x42:  // set device: 20 parameters
                    if (!need(22)) {
                        return;
                    }
                    take(22);
                    answer({});
                    break;
                case 0x45:  // set extended device: a count, then the rest
                    if (!need(2) || !need(2u + input_[1])) {
                        return;
                    }
                    take(2u + input_[1]);
                    answer({});
                    break;
                case 0x55:  // load word address
                    if (!need(4)) {
                        return;
                    }
                    {
                        const auto c = take(4);
                        address_ = 2u * (c[1] | c[2] << 8);
                    }
                    answer({});
                    break;
                case 0x56:  // universal instruction
                    if (!need(6)) {
                        return;
                    }
                    take(6);
                    answer({0});
                    break;
                case 0x64:  // program page
                case 0x74:  // read page
                    if (!need(4)) {
                        return;
                    }
                    pageCommand(command, static_cast<std::size_t>(input_[1] << 8 | input_[2]));
                    if (stop_) {
                        return;
                    }
                    break;
                case 0x75:  // read signature: ATmega328P
                    if (!need(2)) {
                        return;
                    }
                    take(2);
                    answer({0x1e, 0x95, 0x0f});
                    break;
                default:  // sync, enter and leave programming mode, chip erase
                    if (!need(2)) {
                        return;
                    }
                    take(2);
                    answer({});
            }
        }
    }

    void pageCommand(unsigned char command, std::size_t size) {
        if (address_ + size > flash_.size()) {
            stop_ = true;
            return;
        }
        if (command == 0x64) {
            if (!need(5 + size)) {
                return;
            }
            const auto c = take(5 + size);
            std::copy(c.begin() + 4, c.end() - 1, flash_.begin() + static_cast<long>(address_));
            ++pagesWritten_;
            answer({});
        } else {
            if (!need(5)) {
                return;
            }
            take(5);
            answer({flash_.begin() + static_cast<long>(address_),
                    flash_.begin() + static_cast<long>(address_ + size)});
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
