#include "ProgramFolder.h"

#include <filesystem>

#include "storage/FichIni.h"

ProgramFolder::ProgramFolder() {
    std::filesystem::create_directory(path() + "/modèle");
}

std::string ProgramFolder::templatePath(Role role) const {
    return path() + (role == Role::Maitre ? "/modèle/AfficheurCaracMaitre.mod"
                                          : "/modèle/AfficheurCaracEsclave.mod");
}

void ProgramFolder::installTemplate(Role role, const std::string& dataName) const {
    writeBytes(templatePath(role), testData(dataName));
}

void ProgramFolder::writeSequence(const std::string& nombre,
                                  const std::vector<std::string>& records) const {
    EcrireIni("Caractères", "Nombre", nombre, sequencePath());
    for (std::size_t n = 0; n < records.size(); ++n) {
        EcrireIni("Caractères", "Caractère" + std::to_string(n + 1), records[n], sequencePath());
    }
}

std::string testData(const std::string& name) {
    return readBytes(std::string(VEXLO_TEST_DATA) + "/firmware/" + name);
}
