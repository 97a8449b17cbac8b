#pragma once

#include <string>
#include <string_view>

// The role of the display module; each has its own firmware template and block shape.
enum class Role { Maitre, Esclave };

// The statements generated for one character record ("r0;r1;...;r6;duration"), in the shape of
// the role. Each row value is the leading number of its field taken with its ";" (a field
// without ";" of its own reads as 0 and the text stays for the duration); numbers are written
// by formatNumber.
//   Maitre:  CR LF TAB TAB "GenererPulse();" CR LF TAB TAB "T100ms=0;", then for r = 0..6
//            CR LF TAB TAB "ValLigne[r]=value;", then CR LF TAB TAB "while(T100ms<ticks){}" CR LF
//            where ticks is the leading number of what follows the seventh ";" times 10.
//   Esclave: CR LF CR LF TAB TAB "T100ms=0;", the same seven lines, then
//            CR LF TAB TAB "while (T100ms < tempo){}" with no line end; the duration is unused.
std::string characterBlock(Role role, std::string_view record);
