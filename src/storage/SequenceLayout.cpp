#include "storage/SequenceLayout.h"

namespace {

std::string joined(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path.append(name);
}

}  // namespace

std::string recordKey(int number) {
    return std::string(kRecordKeyPrefix) + std::to_string(number);
}

std::string workingSequencePath(const std::string& programDir) {
    return joined(programDir, kWorkingSequenceFileName);
}

std::string workFolderPath(const std::string& programDir) {
    return joined(programDir, kWorkFolderName);
}
