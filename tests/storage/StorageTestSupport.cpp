#include "StorageTestSupport.h"

std::string golden(std::string_view name) {
    return readBytes(std::string(VEXLO_TEST_DATA) + "/ini/" + std::string(name));
}
