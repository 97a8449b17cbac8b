#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The module's side of one programming session in the STK500 version 1 protocol, as avrdude
// speaks it to write and verify an ATmega328P's flash (-c stk500v1): commands in, answers out,
// and the flash image they change. Plain logic, no input or output of its own.
class Stk500Session {
  public:
    // `flash`: the module's program so far, which the session starts from.
    explicit Stk500Session(std::vector<uint8_t> flash);

    // Takes bytes as they arrive (a command may come in pieces) and returns the answer to every
    // command completed by them.
    std::string receive(std::string_view bytes);

    // True once avrdude left programming mode: the module is to run its program.
    bool finished() const { return finished_; }
    const std::vector<uint8_t>& flash() const { return flash_; }

  private:
    std::size_t commandLength() const;
    std::string answer(std::string_view command);
    std::string universal(std::string_view command);

    std::vector<uint8_t> flash_;
    std::string pending_;
    uint32_t address_ = 0;  // bytes
    bool finished_ = false;
};
