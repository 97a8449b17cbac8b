#pragma once

#include <string>
#include <string_view>
#include <vector>

// The programs a download runs: make, and the compiler and the sender it calls.
inline constexpr std::string_view kModuleTools[] = {"make", "avr-gcc", "avrdude"};

// The settings file of the program folder (written by the Windows installer). Its key
// [Outils] Dossier names the folder of the module's tools (or several, separated as in PATH) when
// they are not on PATH.
inline constexpr std::string_view kSettingsName = "Vexlo.ini";

// Puts the folder named by the settings file of `programDir`, if any, first on this program's
// PATH, where the build tool and the programs it starts look for their tools. Call it once, at
// start, before any thread or child process. Returns that folder, empty when none is named.
std::string useToolsFolder(const std::string& programDir);

// The module's tools found in no folder of PATH, in the order of kModuleTools.
std::vector<std::string> missingTools();
