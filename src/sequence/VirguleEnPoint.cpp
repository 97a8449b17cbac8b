#include "sequence/VirguleEnPoint.h"

std::string VirguleEnPoint(std::string& Chaine) {
    const size_t first = Chaine.find_first_not_of(' ');
    Chaine = first == std::string::npos
                 ? std::string()
                 : Chaine.substr(first, Chaine.find_last_not_of(' ') - first + 1);
    if (const size_t comma = Chaine.find(','); comma != std::string::npos) {
        Chaine[comma] = '.';
    }
    return Chaine;
}
