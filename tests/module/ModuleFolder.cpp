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

#include "common/NumberText.h"

namespace fs = std::filesystem;

namespace {

const char* templateName(Role role) {
    return role == Role::master ? "AfficheurCaracMaitre.mod" : "AfficheurCaracEsclave.mod";
}

// One character block, piece by piece as the download builds it.
std::string characterBlock(Role role, const TestCharacter& character) {
    std::string block =
        role == Role::master ? "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" : "\r\n\r\n\t\tT100ms=0;";
    for (int r = 0; r < 7; ++r) {
        block += "\r\n\t\tValLigne[" + std::to_string(r) +
                 "]=" + std::to_string(character.rows[r]) + ";";
    }
    if (role == Role::master) {
        block += "\r\n\t\twhile(T100ms<" + formatNumber(character.seconds * 10) + "){}\r\n";
    } else {
        block += "\r\n\t\twhile (T100ms < tempo){}";
    }
    return block;
}

}  // namespace

ModuleFolder::ModuleFolder() : folder_("vexlo module é"), path_(folder_.path()) {
    const fs::path module = VEXLO_MODULE_DIR;
    fs::create_directory(fs::path(path_) / "modèle");
    fs::copy_file(module / "Makefile", fs::path(path_) / "Makefile");
    for (Role role : {Role::master, Role::slave}) {
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
    std::string text = readBytes(templatePath(role));
    if (role == Role::slave) {
        const std::string line = "#define CarRet 0";
        const std::size_t at = text.find(line, 1);
        if (at != std::string::npos) {
            text.replace(at, line.size(), "#define CarRet " + std::string(delay) + " ");
        }
    }
    for (const TestCharacter& character : sequence) {
        const std::size_t marker = text.find("//ICI", 1);
        if (marker != std::string::npos) {
            text.insert(marker, characterBlock(role, character) + " ");
        }
    }
    writeBytes(file("AfficheurCarac.c"), text);
}

CommandRun ModuleFolder::make(std::string_view arguments) const {
    const std::string command =
        "cd '" + path_ + "' && LC_ALL=C make " + std::string(arguments) + " 2>&1";
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
