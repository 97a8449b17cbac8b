#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

// One character as the module shows it: rows A (top) to G (bottom); bit i of a row is the dot in
// column i, column 0 at the left, as in the program's character records.
using Picture = std::array<uint8_t, 7>;

// A character a module showed: when it appeared, how long it stayed, what it was.
struct ShownCharacter {
    std::chrono::nanoseconds start;
    std::chrono::nanoseconds duration;
    Picture rows;
};

// Turns the levels of a module's matrix lines into the characters it shows. The matrix is lit one
// row at a time; a character is what two successive scans of the seven rows agree on. It starts
// with the first row scan that departed from the character before, so a change that takes a few
// rows to show is dated from its first visible row.
class DotDecoder {
  public:
    // The lines changed at `now`: bit r of `rowsLit` is set while row r is lit (line driven high),
    // bit c of `columnsLow` while column c sinks current (line driven low). Times never go back.
    void lines(std::chrono::nanoseconds now, uint8_t rowsLit, uint8_t columnsLow);

    // The module went dark at `now` (held in reset): the character shown ends there.
    void stop(std::chrono::nanoseconds now);

    // The character shown now; none while dark.
    const std::optional<Picture>& shown() const { return shown_; }

    // Told of each character once it has ended.
    std::function<void(const ShownCharacter&)> onShown;

  private:
    struct Scan {
        int row;
        uint8_t value;
        std::chrono::nanoseconds start;
    };
    void scanEnded(const Scan& scan);
    std::optional<Picture> repeatedPicture() const;

    uint8_t rowsLit_ = 0;
    uint8_t columnsLow_ = 0;
    std::chrono::nanoseconds rowsChanged_{0};
    std::deque<Scan> recent_;
    std::optional<Picture> shown_;
    std::chrono::nanoseconds shownSince_{0};
    std::optional<std::chrono::nanoseconds> departure_;
};
