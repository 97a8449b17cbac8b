#pragma once

#include <string>

// The duration text a validation stores: the spaces at both ends removed and the first ","
// turned into "." (later commas stay), written back into `Chaine` and returned. Nothing else
// is checked or converted: " 1,5,2 " gives "1.5,2", an empty text stays empty.
std::string VirguleEnPoint(std::string& Chaine);
