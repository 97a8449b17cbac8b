#include "ModuleFolder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <stdexcept>

#include "common/CharacterRecord.h"
#include "common/NumberText.h"
#include "firmware/Generation.h"

std::string ModuleFolder::templatePath(Role role) const {
    return file(role == Role::Maitre ? "modèle/AfficheurCaracMaitre.mod"
                                     : "modèle/AfficheurCaracEsclave.mod");
}

void ModuleFolder::writeSource(Role role, const std::vector<TestCharacter>& sequence,
                               std::string_view delay) const {
    std::vector<std::string> records;
    for (const TestCharacter& character : sequence) {
        std::array<int16_t, kRowCount> rows{};
        std::copy(std::begin(character.rows), std::end(character.rows), rows.begin());
        records.push_back(formatRecord(rows, formatNumber(character.seconds)));
    }
    writeSequence(std::to_string(sequence.size()), records);
    TextBox RTB1;
    const GenerationResult result = generateSource(RTB1, role, std::string(delay), path(), path());
    if (result.kind != GenerationResult::Ok) {
        throw std::runtime_error("generation failed: " + frenchDescription(result.file));
    }
}

std::string ModuleFolder::make(std::string_view arguments, std::string_view prefix) const {
    const std::string command = "cd '" + path() + "' && LC_ALL=C " + std::string(prefix) + "make " +
                                std::string(arguments) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("popen failed");
    }
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}

std::size_t findAnyCase(std::string_view text, std::string_view word) {
    auto lower = [](std::string_view s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    return lower(text).find(lower(word));
}
