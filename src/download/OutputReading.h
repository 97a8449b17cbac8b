#pragma once

#include "download/OutputWatch.h"

// What the build tool's output says, by the words of the module Makefile, before its exit
// status and the way it ended are taken into account.

// Watches the output of "make all" / "make program" for the words these readings need.
OutputWatch compileWatch();
OutputWatch sendWatch();

// "make all": the output holds "Aucune" (from its second byte, in any case).
bool compileOutputSaysBuilt(const OutputWatch& compileOutput);

enum class SendReading {
    Sent,           // the Makefile's success line, at a line start, and neither word below
    NotResponding,  // "not responding" (in any case), whatever else
    Failed,         // "error" in any case, a shell's report of a crashed tool, or no success line
};
SendReading readSendOutput(const OutputWatch& sendOutput);

// The Makefile's line when no module was found at all ("Aucun module trouvé" at a line start).
bool sendOutputSaysNoModule(const OutputWatch& sendOutput);

// Where the word that decided stands in the send output (npos when none), and its length.
size_t decidingWordAt(const OutputWatch& sendOutput, size_t& length);
