#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a command line into the words a program receives as its arguments: blanks (spaces and
// tabs) separate words, and double quotes group blanks into a word and are removed. A quoted
// empty text ("") is an empty word; a quote left open runs to the end of the line. There is no
// escape character, so a word cannot hold a double quote.
std::vector<std::string> splitCommandLine(std::string_view line);
