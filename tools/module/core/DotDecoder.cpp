#include "DotDecoder.h"

#include <bit>

namespace {

constexpr std::size_t kRows = std::tuple_size_v<Picture>;
constexpr uint8_t kColumns = 0x1F;

// The row lit alone, or -1 when none or several are lit.
int rowLitAlone(uint8_t rowsLit) {
    return std::has_single_bit(rowsLit) ? std::countr_zero(rowsLit) : -1;
}

}  // namespace

void DotDecoder::lines(std::chrono::nanoseconds now, uint8_t rowsLit, uint8_t columnsLow) {
    if (rowsLit != rowsLit_) {
        const int row = rowLitAlone(rowsLit_);
        if (row >= 0 && row < static_cast<int>(kRows)) {
            scanEnded({row, static_cast<uint8_t>(columnsLow_ & kColumns), rowsChanged_});
        }
        rowsChanged_ = now;
    }
    rowsLit_ = rowsLit;
    columnsLow_ = columnsLow;
}

void DotDecoder::stop(std::chrono::nanoseconds now) {
    if (shown_ && onShown) {
        onShown({shownSince_, now - shownSince_, *shown_});
    }
    shown_.reset();
    departure_.reset();
    recent_.clear();
    rowsLit_ = 0;
    columnsLow_ = 0;
}

void DotDecoder::scanEnded(const Scan& scan) {
    if (!departure_ && (!shown_ || (*shown_)[static_cast<std::size_t>(scan.row)] != scan.value)) {
        departure_ = scan.start;
    }
    recent_.push_back(scan);
    if (recent_.size() > 2 * kRows) {
        recent_.pop_front();
    }
    const std::optional<Picture> picture = repeatedPicture();
    if (!picture) {
        return;
    }
    if (shown_ && *picture == *shown_) {
        departure_.reset();  // a passing glitch, gone again
        return;
    }
    if (shown_ && onShown) {
        onShown({shownSince_, *departure_ - shownSince_, *shown_});
    }
    shown_ = picture;
    shownSince_ = *departure_;
    departure_.reset();
}

// The picture of the last seven scans when they cover every row and repeat the seven before.
std::optional<Picture> DotDecoder::repeatedPicture() const {
    if (recent_.size() < 2 * kRows) {
        return std::nullopt;
    }
    Picture picture{};
    uint8_t rowsSeen = 0;
    for (std::size_t i = 0; i < kRows; ++i) {
        const Scan& before = recent_[i];
        const Scan& last = recent_[i + kRows];
        if (before.row != last.row || before.value != last.value) {
            return std::nullopt;
        }
        rowsSeen = static_cast<uint8_t>(rowsSeen | 1u << last.row);
        picture[static_cast<std::size_t>(last.row)] = last.value;
    }
    if (rowsSeen != (1u << kRows) - 1) {
        return std::nullopt;
    }
    return picture;
}
