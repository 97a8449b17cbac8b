// Any file: a read gives UTF-8 of at most 126 characters; a key written reads back, alone.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "common/Utf8.h"
#include "storage/FichIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string count = iniValueOf(file, "Caractères", "Nombre"), record = "31;0;0;0;0;1.5";
    const auto updated = withIniValue(file, "Caractères", "Caractère1", record);
    const auto characters =
        std::count_if(count.begin(), count.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (!isValidUtf8(count) || characters > 126 || !updated ||
        iniValueOf(*updated, "Caractères", "Caractère1") != record ||
        iniValueOf(*updated, "Caractères", "Nombre") != count ||
        withIniValue(*updated, "Caractères", "Caractère1", record) != updated)
        std::abort();
    return 0;
}
