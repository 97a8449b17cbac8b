#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Text that grows by appended pieces. Appending never moves what is already stored, so a long
// output cannot stall the user interface with one big copy; the blocks are joined into one
// string only when the whole text is asked for, growing it geometrically. Blocks double in size
// up to a few MiB, and the large ones ask for huge pages, since for a flood of output the cost
// of storing it is mostly the page faults of fresh memory.
class ChunkedText {
  public:
    void append(std::string_view piece);
    void clear();

    // The whole text. Joins the blocks filled since the last call.
    const std::string& str() const;

  private:
    struct Block {
        struct Free {
            size_t size;
            void operator()(char* p) const;
        };
        std::unique_ptr<char[], Free> data{nullptr, Free{0}};
        size_t size = 0;
        size_t capacity = 0;
    };
    void addBlock(size_t atLeast) const;

    mutable std::string joined_;
    mutable std::vector<Block> blocks_;
    mutable size_t nextBlockSize_ = 0;
};
