#include "ModuleFolder.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/CharacterRecord.h"
#include "common/NumberText.h"
#include "firmware/Generation.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace fs = std::filesystem;

namespace {

const char* templateName(Role role) {
    return role == Role::Maitre ? "AfficheurCaracMaitre.mod" : "AfficheurCaracEsclave.mod";
}

}  // namespace

ModuleFolder::ModuleFolder() : folder_("vexlo module é"), path_(folder_.path()) {
    const fs::path module = VEXLO_MODULE_DIR;
    fs::create_directory(fs::path(path_) / "modèle");
    fs::copy_file(module / "Makefile", fs::path(path_) / "Makefile");
    for (Role role : {Role::Maitre, Role::Esclave}) {
        fs::copy_file(module / templateName(role), templatePath(role));
    }
}

std::string ModuleFolder::file(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

std::string ModuleFolder::templatePath(Role role) const {
    return path_ + "/modèle/" + templateName(role);
}

void ModuleFolder::writeSource(Role role, const std::vector<TestCharacter>& sequence,
                               std::string_view delay) const {
    const std::string store = workingSequencePath(path_);
    const std::string section(kSequenceSection);
    for (size_t n = 1; n <= sequence.size(); ++n) {
        const TestCharacter& character = sequence[n - 1];
        std::array<int16_t, kRowCount> rows{};
        std::copy(std::begin(character.rows), std::end(character.rows), rows.begin());
        EcrireIni(section, std::string(kCountKey), std::to_string(n), store);
        EcrireIni(section, recordKey(static_cast<int>(n)),
                  formatRecord(rows, formatNumber(character.seconds)), store);
    }
    TextBox RTB1;
    const GenerationResult result = generateSource(RTB1, role, std::string(delay), path_);
    if (result.kind != GenerationResult::Ok) {
        throw std::runtime_error("generation failed: " + frenchDescription(result.file));
    }
}

CommandRun ModuleFolder::make(std::string_view arguments, std::string_view prefix) const {
    const std::string command = "cd '" + path_ + "' && LC_ALL=C " + std::string(prefix) + "make " +
                                std::string(arguments) + " 2>&1";
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("popen failed");
    }
    CommandRun run;
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, got);
    }
    pclose(pipe);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
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
