#pragma once

#include <cstdint>

// The most characters whose firmware fits the module's flash (unrelated to the 28 characters
// the window warns about). Measured with avr-gcc 5.4 (-Os) and
// avr-size on both templates: the firmware without characters takes under 1,000 bytes and each
// character at most 93 more (the master's block with a fractional duration, whose floating-point
// comparison is the largest); the ATmega328P's 32,768 bytes of flash less its 512-byte bootloader
// section leave 32,256. With 1,024 and 96 bytes for margin: (32,256 - 1,024) / 96.
constexpr int16_t kMaxFirmwareCharacters = 325;
