#pragma once

#include <string>
#include <string_view>

// Names of the sequence store, shared by every reader and writer of a sequence file.

inline constexpr std::string_view kSequenceSection = "Caractères";
inline constexpr std::string_view kCountKey = "Nombre";
inline constexpr std::string_view kRecordKeyPrefix = "Caractère";
inline constexpr std::string_view kWorkingSequenceFileName = "MessageTemporaire.car";
inline constexpr std::string_view kWorkFolderName = "Travail";
inline constexpr std::string_view kSequenceExtension = ".car";

// The key of character `number`: "Caractère" then the number without leading zeros
// ("Caractère12").
std::string recordKey(int number);

// The working sequence file and the work folder inside the program folder `programDir`
// (UTF-8, joined with "/").
std::string workingSequencePath(const std::string& programDir);
std::string workFolderPath(const std::string& programDir);
