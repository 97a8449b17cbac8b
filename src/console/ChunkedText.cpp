#include "console/ChunkedText.h"

#include <algorithm>
#include <cstring>

#include "console/LargeBlock.h"

namespace {

constexpr size_t kFirstBlock = 4 * 1024;
constexpr size_t kLargestBlock = 4 * kLargeBlockSize;

}  // namespace

void ChunkedText::Block::Free::operator()(char* p) const {
    freeLargeBlock(p, size);
}

void ChunkedText::addBlock(size_t atLeast) const {
    nextBlockSize_ = std::clamp(nextBlockSize_ * 2, kFirstBlock, kLargestBlock);
    const size_t size = std::max(nextBlockSize_, atLeast);
    Block block;
    block.data = std::unique_ptr<char[], Block::Free>(allocateLargeBlock(size), Block::Free{size});
    block.capacity = size;
    blocks_.push_back(std::move(block));
}

void ChunkedText::append(std::string_view piece) {
    while (!piece.empty()) {
        if (blocks_.empty() || blocks_.back().size == blocks_.back().capacity)
            addBlock(0);
        Block& block = blocks_.back();
        const size_t n = std::min(piece.size(), block.capacity - block.size);
        std::memcpy(block.data.get() + block.size, piece.data(), n);
        block.size += n;
        piece.remove_prefix(n);
    }
}

void ChunkedText::clear() {
    joined_.clear();
    joined_.shrink_to_fit();
    blocks_.clear();
    nextBlockSize_ = 0;
}

const std::string& ChunkedText::str() const {
    if (blocks_.empty())
        return joined_;
    size_t total = joined_.size();
    for (const Block& b : blocks_)
        total += b.size;
    if (total > joined_.capacity())
        joined_.reserve(std::max(total, 2 * joined_.capacity()));
    // Each block goes as soon as it is copied, so a long text is held about once, not twice.
    for (Block& b : blocks_) {
        joined_.append(b.data.get(), b.size);
        b.data.reset();
    }
    blocks_.clear();
    return joined_;
}
