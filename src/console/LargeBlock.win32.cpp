#include <cstdlib>
#include <new>

#include "console/LargeBlock.h"

// Huge pages on Windows need a privilege that pupils' accounts lack: ordinary memory.
char* allocateLargeBlock(size_t size) {
    void* p = std::malloc(size);
    if (p == nullptr)
        throw std::bad_alloc();
    return static_cast<char*>(p);
}

void freeLargeBlock(char* block) {
    std::free(block);
}
