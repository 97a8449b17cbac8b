#pragma once

#include <cstdint>
#include <string>

#include "common/SystemError.h"
#include "firmware/CharacterBlock.h"
#include "firmware/TextBox.h"

// Outcome of generateSource. `file` names the file concerned: the saved source when Ok, the
// template that could not be loaded, or the source that could not be written, with the system's
// error number of a failure. `characterCount` is the stored "Nombre" the generation walked, read
// whatever the outcome.
struct GenerationResult {
    enum Kind { Ok, TemplateUnreadable, SourceUnwritable } kind = Ok;
    SystemError file;
    int16_t characterCount = 0;
};

// First phase of the download: completes the role's firmware template with the stored sequence
// and saves it as workingDir + "/AfficheurCarac.c".
//  - characterCount = "Nombre" of section "Caractères" of workingDir + "/MessageTemporaire.car",
//    its leading number rounded half to even (missing, or not fitting 16 bits: 0).
//  - Loads programDir + "/modèle/AfficheurCaracMaitre.mod" (Maitre) or
//    ".../AfficheurCaracEsclave.mod" (Esclave) into RTB1. If it cannot be read: returns
//    TemplateUnreadable naming it; RTB1 and the source file are left untouched.
//  - Esclave: the first whole-word "#define CarRet 0" (from index 1) becomes
//    "#define CarRet " + retardText + " " (retardText taken as typed).
//  - For n = 1..characterCount: record "Caractère<n>" read; its characterBlock placed with one
//    space before the first whole-word "//ICI" from index 1 (no marker there: the block is
//    dropped).
//  - Saves RTB1's text (Windows-1252, replaced whole); if that fails returns SourceUnwritable
//    naming the source file, which keeps its previous content.
GenerationResult generateSource(TextBox& RTB1, Role role, const std::string& retardText,
                                const std::string& programDir, const std::string& workingDir);
