#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "console/LargeBlock.h"

char* allocateLargeBlock(size_t size) {
    if (size < kLargeBlockSize) {
        void* p = std::malloc(size);
        if (p == nullptr)
            throw std::bad_alloc();
        return static_cast<char*>(p);
    }
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, size, MADV_HUGEPAGE);  // a hint; refusal is harmless
#endif
    return static_cast<char*>(p);
}

void freeLargeBlock(char* block, size_t size) {
    if (size < kLargeBlockSize)
        std::free(block);
    else
        munmap(block, size);
}
