#include "firmware/Generation.h"

#include "firmware/ModuleCapacity.h"
#include "firmware/PlacerTexte.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"
#include "storage/WorkingFolder.h"

GenerationResult generateSource(TextBox& RTB1, Role role, const std::string& retardText,
                                const std::string& programDir, const std::string& workingDir) {
    const std::string sequencePath = workingSequencePath(workingDir);
    const std::string section(kSequenceSection);
    const int16_t count = storedCharacterCount(workingDir);

    const std::string templatePath =
        programDir + (role == Role::Maitre ? "/modèle/AfficheurCaracMaitre.mod"
                                           : "/modèle/AfficheurCaracEsclave.mod");
    if (const SystemError loaded = RTB1.FileName(templatePath); loaded.failed()) {
        return {GenerationResult::TemplateUnreadable, loaded, count};
    }

    if (role == Role::Esclave) {
        bool replace = true;
        int32_t start = 1;
        PlacerTexte(RTB1, "#define CarRet 0", "#define CarRet " + retardText, replace, start);
    }

    bool replace = false;
    int32_t start = 1;
    for (int32_t n = 1; n <= count; ++n) {
        const std::string record = LireIni(section, recordKey(n), sequencePath);
        PlacerTexte(RTB1, "//ICI", characterBlock(role, record), replace, start);
    }

    const std::string sourcePath = workingDir + "/" + std::string(kGeneratedSourceName);
    if (const SystemError saved = RTB1.SaveFile(sourcePath, TextBox::PlainText); saved.failed()) {
        return {GenerationResult::SourceUnwritable, saved, count};
    }
    return {GenerationResult::Ok, {sourcePath, 0}, count};
}
