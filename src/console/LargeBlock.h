#pragma once

#include <cstddef>

// Memory for the blocks of ChunkedText. Large blocks are mapped on their own, so each one goes
// back to the system as soon as it is freed (the heap would keep it), and joining a long text
// never holds it twice; where the system has huge pages they are asked for, since for a flood
// of output the cost of storing it is mostly the page faults of fresh memory. Throws
// std::bad_alloc when there is no memory.
inline constexpr size_t kLargeBlockSize = 2 * 1024 * 1024;

char* allocateLargeBlock(size_t size);
// `size` is the one the block was allocated with.
void freeLargeBlock(char* block, size_t size);
