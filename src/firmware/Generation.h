#pragma once

#include <cstdint>
#include <string>

#include "firmware/CharacterBlock.h"
#include "firmware/TextBox.h"

// Outcome of genererSource. `path` names the file concerned: the saved source when Ok, the
// template that could not be loaded, or the source that could not be written. `reason` is the
// system's explanation of a failure ("" when Ok).
struct GenerationResult {
    enum Kind { Ok, TemplateUnreadable, SourceUnwritable } kind = Ok;
    std::string path;
    std::string reason;
};

// First phase of the download: completes the role's firmware template with the stored sequence
// and saves it as appPath + "/AfficheurCarac.c".
//  - Loads appPath + "/modèle/AfficheurCaracMaitre.mod" (Maitre) or
//    ".../AfficheurCaracEsclave.mod" (Esclave) into RTB1. If it cannot be read: returns
//    TemplateUnreadable naming it; RTB1, the counters and the source file are left untouched.
//  - Esclave: the first whole-word "#define CarRet 0" (from index 1) becomes
//    "#define CarRet " + retardText + " " (retardText taken as typed).
//  - characterCount = "Nombre" of section "Caractères" of appPath + "/MessageTemporaire.car",
//    its leading number rounded half to even (missing, or not fitting 16 bits: 0).
//  - For n = 1..characterCount: currentNumber = n; record "Caractère<n>" read; its
//    characterBlock placed with one space before the first whole-word "//ICI" from index 1
//    (no marker there: the block is dropped). Never more than 32767 passes.
//  - Afterwards currentNumber = characterCount + 1, or 1 when the count is below 1; at a count
//    of 32767 it stays 32767, the highest 16-bit value.
//  - Saves RTB1's text (Windows-1252, replaced whole); if that fails returns SourceUnwritable
//    naming the source file, which keeps its previous content.
GenerationResult genererSource(TextBox& RTB1, Role role, const std::string& retardText,
                               const std::string& appPath, int16_t& characterCount,
                               int16_t& currentNumber);
