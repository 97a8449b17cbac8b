#pragma once

#include <chrono>
#include <string>

#include "common/SystemError.h"
#include "download/DownloadRun.h"
#include "firmware/Generation.h"

// The French messages a download ends with.

// Why the sequence or the delay cannot be built; `typedDelay` is TRetard's text.
DownloadMessage refusalMessage(const GenerationResult& refused, const std::string& typedDelay);
// The template could not be read, or the source could not be written.
DownloadMessage fileErrorMessage(const GenerationResult& failed);

// The compile-error box around what is shown of the error.
DownloadMessage compileErrorMessage(const std::string& shown);
std::string notStartedText(const SystemError& error);  // make or its folder could not start
// The compile was ended: it went `silent` that long, or ran longer than that.
std::string compileStoppedText(bool silent, std::chrono::milliseconds bound);
// The head of the compiler's output; `cut` when the output goes on beyond what is shown.
std::string compileExcerptText(const std::string& head, bool cut);

// The module did not answer; a line more when no module was found at all, or when the send was
// ended after `stoppedAfter` (zero: it was not).
DownloadMessage communicationMessage(bool noModule, std::chrono::milliseconds stoppedAfter);
DownloadMessage undefinedMessage();
DownloadMessage successMessage();
