#include "download/OutputWatch.h"

#include <algorithm>

namespace {

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char& c : low) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return low;
}

}  // namespace

OutputWatch::OutputWatch(std::vector<Word> words)
    : words_(std::move(words)), found_(words_.size(), npos) {
    for (Word& word : words_) {
        word.text = lowered(word.text);
        carryLength_ = std::max(carryLength_, word.text.size());
    }
}

void OutputWatch::add(std::string_view chunk) {
    if (chunk.empty())
        return;
    // Searched: the carried end of the output before this chunk, then the chunk. One more byte
    // than the longest word is carried, so the byte before a match is always known.
    const std::string text = lowered(carry_ + std::string(chunk));
    const size_t base = size_ - carry_.size();
    for (size_t w = 0; w < words_.size(); ++w) {
        const std::string& word = words_[w].text;
        if (found_[w] != npos || word.empty())
            continue;
        // A match wholly inside the carry was looked at with the chunk before.
        size_t at = carry_.size() >= word.size() ? carry_.size() - word.size() + 1 : 0;
        for (; (at = text.find(word, at)) != std::string::npos; ++at) {
            const size_t offset = base + at;
            const bool placed = words_[w].atLineStart
                                    ? offset == 0 || (at > 0 && text[at - 1] == '\n')
                                    : offset >= 1;
            if (placed) {
                found_[w] = offset;
                break;
            }
        }
    }
    size_ += chunk.size();
    carry_ = std::string(chunk.size() > carryLength_ ? chunk.substr(chunk.size() - carryLength_ - 1)
                                                     : carry_ + std::string(chunk));
    if (carry_.size() > carryLength_ + 1)
        carry_.erase(0, carry_.size() - carryLength_ - 1);
    if (head_.size() < kHeadBytes)
        head_.append(chunk.substr(0, kHeadBytes - head_.size()));
    tail_.append(chunk.substr(chunk.size() - std::min(chunk.size(), kTailBytes)));
    if (tail_.size() > kTailBytes)
        tail_.erase(0, tail_.size() - kTailBytes);
}
