#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A whole sequence read or written at once, for the editor that keeps it in memory.

// The records "Caractère1" to "Caractère<count>" of a sequence file's bytes, each exactly as
// LireIni reads it from that file ("" for a missing one), in one pass over the file.
std::vector<std::string> sequenceRecordsOf(std::string_view fileBytes, int16_t count);

// The bytes of a sequence file in the program's own layout holding `records` as characters
// 1, 2...: the section line, "Nombre", one key per record, CR LF line ends, Windows-1252. The
// records must hold no line break or NUL (what sequenceRecordsOf returns never does).
std::string sequenceFileBytes(const std::vector<std::string>& records);
