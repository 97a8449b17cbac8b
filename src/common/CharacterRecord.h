#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A character record: seven row values (rows A to G, top first) and the display duration,
// separated by ";", e.g. "31;1;1;15;1;1;1;1.5". Bit i of a row value is the dot of column i.
inline constexpr int kRowCount = 7;
inline constexpr int kColumnCount = 5;

struct RecordFields {
    // Field r with its ";" ("12;"), or empty text once the record has no ";" left: a last field
    // without ";" is never a row value.
    std::array<std::string, kRowCount> rows;
    // What is left after the seven row fields: the duration, and any extra fields with it.
    std::string rest;
};

// Splits any text into row fields and rest; never fails ("5;3" gives rows "5;" and rest "3").
RecordFields splitRecord(std::string_view record);

// Which of the five dots of a row a field lights: its leading number rounded half to even
// (0 when it does not fit 16 bits), then bit by bit from column 0, the remainders taking the
// sign of the value, so -3 lights columns 0 and 1 and 37 lights columns 0 and 2.
std::array<bool, kColumnCount> litDotsOfField(std::string_view field);

// "r0;r1;...;r6;duration" as a validation stores it.
std::string formatRecord(const std::array<int16_t, kRowCount>& rows, std::string_view duration);
