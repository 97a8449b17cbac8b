#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads a command's output as it arrives and keeps only what the download decides by: where
// each word first appears, the first lines (for the compile-error box) and the last bytes (for
// the progress of the send). The whole output is held by the runner alone.
class OutputWatch {
  public:
    static constexpr size_t npos = std::string_view::npos;

    struct Word {
        std::string text;
        bool atLineStart = false;  // counts only at the start of a line
    };

    // Words are found in any case of ASCII letters, inside longer words too, never at the
    // output's very first byte (unless `atLineStart`).
    explicit OutputWatch(std::vector<Word> words);

    void add(std::string_view chunk);

    // Byte offset of the first occurrence of word `index`, or npos.
    size_t found(size_t index) const { return found_[index]; }
    // The output's first bytes, at most kHeadBytes of them.
    const std::string& head() const { return head_; }
    // The output's last bytes, at most kTailBytes of them.
    const std::string& tail() const { return tail_; }
    size_t size() const { return size_; }

    static constexpr size_t kHeadBytes = 64 * 1024;
    static constexpr size_t kTailBytes = 1024;

  private:
    std::vector<Word> words_;
    std::vector<size_t> found_;
    std::string carry_;  // the end of the output so far, long enough for a word cut in two
    size_t carryLength_ = 0;
    std::string head_;
    std::string tail_;
    size_t size_ = 0;
};
