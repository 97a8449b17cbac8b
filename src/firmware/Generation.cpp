#include "firmware/Generation.h"

#include <limits>

#include "common/LeadingNumber.h"
#include "firmware/PlacerTexte.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

GenerationResult genererSource(TextBox& RTB1, Role role, const std::string& retardText,
                               const std::string& appPath, int16_t& characterCount,
                               int16_t& currentNumber) {
    const std::string templatePath =
        appPath + (role == Role::Maitre ? "/modèle/AfficheurCaracMaitre.mod"
                                        : "/modèle/AfficheurCaracEsclave.mod");
    if (const FileStatus loaded = RTB1.FileName(templatePath); !loaded.ok) {
        return {GenerationResult::TemplateUnreadable, templatePath, loaded.reason};
    }

    if (role == Role::Esclave) {
        bool replace = true;
        int32_t start = 1;
        PlacerTexte(RTB1, "#define CarRet 0", "#define CarRet " + retardText, replace, start);
    }

    const std::string sequencePath = workingSequencePath(appPath);
    const std::string section(kSequenceSection);
    characterCount =
        roundToInt16(leadingNumber(LireIni(section, std::string(kCountKey), sequencePath)));
    const int16_t count = characterCount;
    bool replace = false;
    int32_t start = 1;
    for (int32_t n = 1; n <= count; ++n) {
        currentNumber = static_cast<int16_t>(n);
        const std::string record = LireIni(section, recordKey(n), sequencePath);
        PlacerTexte(RTB1, "//ICI", characterBlock(role, record), replace, start);
    }
    // The counter ends one past the count, except where that would leave the 16-bit range.
    if (count < 1) {
        currentNumber = 1;
    } else if (count < std::numeric_limits<int16_t>::max()) {
        currentNumber = static_cast<int16_t>(count + 1);
    }

    const std::string sourcePath = appPath + "/AfficheurCarac.c";
    if (const FileStatus saved = RTB1.SaveFile(sourcePath, TextBox::PlainText); !saved.ok) {
        return {GenerationResult::SourceUnwritable, sourcePath, saved.reason};
    }
    return {GenerationResult::Ok, sourcePath, ""};
}
