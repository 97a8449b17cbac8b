#pragma once

#include <cstddef>

// Memory for the blocks of ChunkedText. Large blocks ask the system for huge pages where it has
// them, since for a flood of output the cost of storing it is mostly the page faults of fresh
// memory. Throws std::bad_alloc when there is no memory.
char* allocateLargeBlock(size_t size);
void freeLargeBlock(char* block);
