// Feeds arbitrary file contents to the INI reader and writer. Beyond not crashing, it checks
// what must hold for any file: a read gives valid UTF-8 of at most 126 characters, a written
// key reads back, and writing one key leaves another key's value as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Utf8.h"
#include "storage/FichIni.h"
#include "storage/IniEncoding.h"
#include "storage/SequenceLayout.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

size_t characterCount(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string section(kSequenceSection);
    const std::string count(kCountKey);
    const std::string record = recordKey(1);

    const std::string countBefore = iniValueOf(file, section, count);
    const std::string recordBefore = iniValueOf(file, section, record);
    for (const std::string& value : {countBefore, recordBefore}) {
        check(isValidUtf8(value));
        check(characterCount(value) <= kIniValueMaxLength);
    }

    const std::string written = "31;0;0;0;0;0;31;1.5";
    const auto updated = withIniValue(file, section, record, written);
    check(updated.has_value());
    check(iniValueOf(*updated, section, record) == written);
    check(iniValueOf(*updated, section, count) == countBefore);

    // Writing the same value again must change nothing.
    check(withIniValue(*updated, section, record, written) == updated);
    return 0;
}
