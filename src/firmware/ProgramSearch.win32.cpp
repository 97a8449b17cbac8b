#include <windows.h>

#include <cstdlib>

#include "common/WidePath.h"
#include "firmware/ProgramSearch.h"

const char kSearchPathSeparator = ';';

std::string searchPath() {
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(L"PATH", value.data(), size));
    return fromWide(value);
}

void setSearchPath(const std::string& value) {
    // The C runtime's copy and the system's (which CreateProcessW passes on) both change.
    _wputenv_s(L"PATH", toWide(value).c_str());
}

std::string programFileName(const std::string& name) {
    return name + ".exe";
}

bool holdsProgram(const std::string& folder, const std::string& name) {
    const DWORD attributes =
        GetFileAttributesW(toWide(folder + "\\" + programFileName(name)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
