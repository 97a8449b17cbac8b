#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "console/LargeBlock.h"

namespace {

constexpr size_t kHugePage = 2 * 1024 * 1024;

}  // namespace

char* allocateLargeBlock(size_t size) {
    void* p = size >= kHugePage ? std::aligned_alloc(kHugePage, size) : std::malloc(size);
    if (p == nullptr)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (size >= kHugePage)
        madvise(p, size, MADV_HUGEPAGE);  // a hint; refusal is harmless
#endif
    return static_cast<char*>(p);
}

void freeLargeBlock(char* block) {
    std::free(block);
}
