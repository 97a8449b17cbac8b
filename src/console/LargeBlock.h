#pragma once

#include <cstddef>

// Memory for the blocks of ChunkedText. Large blocks are mapped on their own, so each one goes
// back to the system as soon as it is freed (the heap would keep it) and joining a long text
// never holds it twice; they ask for huge pages where the system has them, since for a flood of
// output the cost of storing it is mostly the page faults of fresh memory. Throws std::bad_alloc
// when there is no memory. A block is freed with the size it was allocated with.
char* allocateLargeBlock(size_t size);
void freeLargeBlock(char* block, size_t size);
