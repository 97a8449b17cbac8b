#pragma once

#include <string>
#include <string_view>

// What the window shows of the build tool's output besides the output box itself.

// The head of a compile output that a message box can show whole: its first lines (at most 20),
// each cut to 120 bytes with "…" after it, never inside a UTF-8 character. `cut` tells whether
// anything was left out, so the caller can say where the rest is.
std::string compileErrorExcerpt(std::string_view output, bool& cut);

// The progress avrdude reports with its bar ("Writing | #####…", 50 "#" for a whole phase) at the
// end of `output`, in French words for the stage line: "écriture 40 %", "vérification 100 %",
// or "" when the output ends without a bar.
std::string sendingProgress(std::string_view output);
