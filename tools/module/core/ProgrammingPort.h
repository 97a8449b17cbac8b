#pragma once

#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

// The virtual module's USB cable: a TCP port on the loopback address where avrdude
// (-c stk500v1 -P net:127.0.0.1:PORT) reaches the bootloader of the module the cable is in.
// A connection resets that module into its bootloader; leaving programming mode, or closing,
// starts the program it then holds. One session at a time, served on a thread of its own; a
// connection made meanwhile waits its turn, as a second avrdude would wait for a serial port.
class ProgrammingPort {
  public:
    struct Module {
        // Holds the module the cable is in and returns its program.
        std::function<std::vector<uint8_t>()> enterBootloader;
        // Starts that module with the program the session left.
        std::function<void(std::vector<uint8_t>)> leaveBootloader;
    };

    explicit ProgrammingPort(Module module);
    ~ProgrammingPort();
    ProgrammingPort(const ProgrammingPort&) = delete;
    ProgrammingPort& operator=(const ProgrammingPort&) = delete;

    // Listens on 127.0.0.1 at a port the system picks and starts serving. Returns 0, or the
    // system's error number.
    int open();
    uint16_t number() const { return number_; }

  private:
    void serve();
    void session(int connection);
    bool stopping() const;

    Module module_;
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    uint16_t number_ = 0;
    std::thread thread_;
};
