#include <windows.h>

#include <cstdlib>
#include <new>

#include "console/LargeBlock.h"

// Huge pages on Windows need a privilege that pupils' accounts lack: ordinary pages.
char* allocateLargeBlock(size_t size) {
    void* p = size < kLargeBlockSize
                  ? std::malloc(size)
                  : VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (p == nullptr)
        throw std::bad_alloc();
    return static_cast<char*>(p);
}

void freeLargeBlock(char* block, size_t size) {
    if (size < kLargeBlockSize)
        std::free(block);
    else
        VirtualFree(block, 0, MEM_RELEASE);
}
