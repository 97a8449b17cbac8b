#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/ModuleLimits.h"

#include "common/SystemError.h"
#include "firmware/CharacterBlock.h"
#include "firmware/ModuleCapacity.h"
#include "firmware/TextBox.h"

// Outcome of generateSource. `file` names the file concerned: the saved source when Ok, the
// template that could not be loaded, or the source that could not be written, with the system's
// error number of a failure. `characterCount` is the stored "Nombre" the generation walked, read
// whatever the outcome (0 when it is refused).
struct GenerationResult {
    enum Kind {
        Ok,
        TemplateUnreadable,
        SourceUnwritable,
        DelayRefused,       // the slave's delay is not a whole number the firmware can count
        CountRefused,       // "Nombre" lies outside 0..32767: `countText` holds it
        TooManyCharacters,  // more than kMaxFirmwareCharacters
        DurationRefused,    // master: character `character` holds a duration of `fault`
    } kind = Ok;
    SystemError file;
    int16_t characterCount = 0;
    std::string countText;
    int16_t character = 0;
    DurationFault fault = DurationFault::None;
};

// The largest delay the slave firmware counts: it keeps the delay in a signed 16-bit constant.
inline constexpr int16_t kLargestSlaveDelay = 32767;

// The delay written into the slave's source for the text typed in TRetard: blanks around it
// are dropped; an empty text stays empty (the firmware then reads 0); otherwise only a whole
// number 0..kLargestSlaveDelay is taken, written without leading zeros (C would read "010" as
// octal). Nothing for any other text.
std::optional<std::string> slaveDelayValue(std::string_view typed);

// First phase of the download: checks the stored sequence and the delay, then completes the
// role's firmware template with it and saves it as workingDir + "/AfficheurCarac.c".
//  - Refusals, before anything is loaded or written: the delay (Esclave, slaveDelayValue), the
//    count "Nombre" of section "Caractères" of workingDir + "/MessageTemporaire.car" (read by
//    storedCountOf; missing reads 0), more than `mostCharacters` (what the module holds), and
//    (Maitre) the first stored duration that durationFault refuses.
//  - Loads programDir + "/modèle/AfficheurCaracMaitre.mod" (Maitre) or
//    ".../AfficheurCaracEsclave.mod" (Esclave) into RTB1. If it cannot be read: returns
//    TemplateUnreadable naming it; RTB1 and the source file are left untouched.
//  - Esclave: the first whole-word "#define CarRet 0" (from index 1) becomes
//    "#define CarRet " + delay + " ".
//  - For n = 1..characterCount: record "Caractère<n>" read; its characterBlock placed with one
//    space before the first whole-word "//ICI" from index 1 (no marker there: the block is
//    dropped).
//  - Saves RTB1's text (Windows-1252, replaced whole); if that fails returns SourceUnwritable
//    naming the source file, which keeps its previous content.
GenerationResult generateSource(TextBox& RTB1, Role role, const std::string& retardText,
                                const std::string& programDir, const std::string& workingDir,
                                int16_t mostCharacters = kMaxFirmwareCharacters);
