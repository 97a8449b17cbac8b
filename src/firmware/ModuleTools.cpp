#include "firmware/ModuleTools.h"

#include <algorithm>

#include "firmware/ProgramSearch.h"
#include "storage/FichIni.h"

std::string useToolsFolder(const std::string& programDir) {
    const std::string folder =
        LireIni("Outils", "Dossier", programDir + "/" + std::string(kSettingsName));
    if (!folder.empty()) {
        const std::string path = searchPath();
        setSearchPath(path.empty() ? folder : folder + kSearchPathSeparator + path);
    }
    return folder;
}

std::vector<std::string> missingTools() {
    std::vector<std::string> folders;
    const std::string path = searchPath();
    for (size_t begin = 0; begin <= path.size();) {
        const size_t end = std::min(path.find(kSearchPathSeparator, begin), path.size());
        if (end > begin) {
            folders.push_back(path.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    std::vector<std::string> missing;
    for (const std::string_view tool : kModuleTools) {
        bool found = false;
        for (const std::string& folder : folders) {
            found = found || holdsProgram(folder, std::string(tool));
        }
        if (!found) {
            missing.emplace_back(tool);
        }
    }
    return missing;
}
