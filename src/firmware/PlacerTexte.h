#pragma once

#include <cstdint>
#include <string>

#include "firmware/TextBox.h"

// Finds the first whole-word, case-sensitive occurrence of `lookFor` in `box` from index
// `start`, and puts `toPlace` followed by one space there: in place of the occurrence when
// `replace` is true, just before it when false (the occurrence then follows the new text).
// Nothing changes when there is no such occurrence. `replace` and `start` are only read.
// Afterwards the caret stands after the placed text.
void PlacerTexte(TextBox& box, const std::string& lookFor, const std::string& toPlace,
                 bool& replace, int32_t& start);
