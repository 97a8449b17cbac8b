#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "firmware/ProgramSearch.h"

const char kSearchPathSeparator = ':';

std::string searchPath() {
    const char* value = std::getenv("PATH");
    return value != nullptr ? value : "";
}

void setSearchPath(const std::string& value) {
    ::setenv("PATH", value.c_str(), 1);
}

std::string programFileName(const std::string& name) {
    return name;
}

bool holdsProgram(const std::string& folder, const std::string& name) {
    // A folder passes the X_OK test, and every file with an execute bit does for root.
    const std::string file = folder + "/" + name;
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(file.c_str(), X_OK) == 0;
}
