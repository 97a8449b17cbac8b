#pragma once

#include "firmware/TextBox.h"

// Readings of the build tool's output collected in the output box. Both search from index 1
// (the output's first character is not examined), in any case and inside longer words; a word
// found stays selected in the box.

// After "make all": true when the output holds "Aucune".
bool compileSucceeded(TextBox& RTB1);

enum class DownloadOutcome { Succes, ErreurCommunication, ErreurIndefinie };

// After "make program": ErreurCommunication when the output holds "not responding", otherwise
// ErreurIndefinie when it holds "error", otherwise Succes (also for an empty output).
DownloadOutcome downloadOutcome(TextBox& RTB1);
