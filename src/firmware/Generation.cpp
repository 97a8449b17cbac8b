#include "firmware/Generation.h"

#include <vector>

#include "common/CharacterRecord.h"
#include "firmware/ModuleCapacity.h"
#include "firmware/PlacerTexte.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"
#include "storage/WorkingFolder.h"

std::optional<std::string> slaveDelayValue(std::string_view typed) {
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string();
    typed = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    if (typed.size() > 5 || typed.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int value = std::stoi(std::string(typed));
    if (value > kLargestSlaveDelay)
        return std::nullopt;
    return std::to_string(value);
}

namespace {

GenerationResult resultOf(GenerationResult::Kind kind, SystemError file = {}, int16_t count = 0) {
    GenerationResult result;
    result.kind = kind;
    result.file = std::move(file);
    result.characterCount = count;
    return result;
}

}  // namespace

GenerationResult generateSource(TextBox& RTB1, Role role, const std::string& retardText,
                                const std::string& programDir, const std::string& workingDir,
                                int16_t mostCharacters) {
    const std::string sequencePath = workingSequencePath(workingDir);
    const std::string section(kSequenceSection);
    const std::optional<std::string> delay = slaveDelayValue(retardText);
    if (role == Role::Esclave && !delay) {
        return resultOf(GenerationResult::DelayRefused);
    }
    const std::string countText = LireIni(section, std::string(kCountKey), sequencePath);
    const std::optional<int16_t> stored = storedCountOf(countText);
    if (!stored) {
        GenerationResult refused = resultOf(GenerationResult::CountRefused);
        refused.countText = countText;
        return refused;
    }
    const int16_t count = *stored;
    if (count > mostCharacters) {
        return resultOf(GenerationResult::TooManyCharacters, {}, count);
    }
    std::vector<std::string> records;
    for (int16_t n = 1; n <= count; ++n) {
        records.push_back(LireIni(section, recordKey(n), sequencePath));
        const DurationFault fault = durationFault(splitRecord(records.back()).rest);
        if (role == Role::Maitre && fault != DurationFault::None) {
            GenerationResult refused = resultOf(GenerationResult::DurationRefused, {}, count);
            refused.character = n;
            refused.fault = fault;
            return refused;
        }
    }

    const std::string templatePath =
        programDir + (role == Role::Maitre ? "/modèle/AfficheurCaracMaitre.mod"
                                           : "/modèle/AfficheurCaracEsclave.mod");
    if (const SystemError loaded = RTB1.FileName(templatePath); loaded.failed()) {
        return resultOf(GenerationResult::TemplateUnreadable, loaded, count);
    }

    if (role == Role::Esclave) {
        bool replace = true;
        int32_t start = 1;
        PlacerTexte(RTB1, "#define CarRet 0", "#define CarRet " + *delay, replace, start);
    }

    bool replace = false;
    int32_t start = 1;
    for (const std::string& record : records) {
        PlacerTexte(RTB1, "//ICI", characterBlock(role, record), replace, start);
    }

    const std::string sourcePath = workingDir + "/" + std::string(kGeneratedSourceName);
    if (const SystemError saved = RTB1.SaveFile(sourcePath, TextBox::PlainText); saved.failed()) {
        return resultOf(GenerationResult::SourceUnwritable, saved, count);
    }
    return resultOf(GenerationResult::Ok, {sourcePath, 0}, count);
}
