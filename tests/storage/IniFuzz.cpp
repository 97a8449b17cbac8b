// Any file contents: a read gives valid UTF-8 of at most 126 characters, a written key reads
// back, another key keeps its value, and writing the same value again changes nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "common/Utf8.h"
#include "storage/FichIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto read = [](std::string_view bytes, const char* key) {
        return iniValueOf(bytes, "Caractères", key);
    };
    const std::string count = read(file, "Nombre"), record = "31;0;0;0;0;0;31;1.5";
    for (const std::string& value : {count, read(file, "Caractère1")}) {
        const auto characters =
            std::count_if(value.begin(), value.end(), [](char c) { return (c & 0xC0) != 0x80; });
        if (!isValidUtf8(value) || characters > static_cast<long>(kIniValueMaxLength))
            std::abort();
    }
    const auto updated = withIniValue(file, "Caractères", "Caractère1", record);
    if (!updated || read(*updated, "Caractère1") != record || read(*updated, "Nombre") != count ||
        withIniValue(*updated, "Caractères", "Caractère1", record) != updated)
        std::abort();
    return 0;
}
