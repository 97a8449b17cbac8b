#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "common/CharacterRecord.h"

class DotBox;
class DotGridInput;
class QWidget;

// The 5 x 7 dot grid: rows A (top) to G, columns Index 0 (left) to 4, and the seven row values,
// which only the dot toggle changes.
class DotGrid {
  public:
    // Creates the 35 dots on `parent`, dark, drawn on with the keyboard and the pointer (see
    // DotGridInput); pictures are read from `appPath`.
    DotGrid(QWidget* parent, const QString& appPath);
    ~DotGrid();

    // The dot toggle: lights a dot whose Tag reads 0, darkens any other, and keeps the row
    // value's bit in step. A missing picture file shows a drawn disc instead.
    void toggle(int row, int index);

    // Shows a record on the grid and returns what the duration box takes: the text after the
    // seven row fields. Every dot goes through the toggle once.
    QString showRecord(const QString& record);

    int16_t rowValue(int row) const { return rowValues_[static_cast<size_t>(row)]; }
    const std::array<int16_t, kRowCount>& rowValues() const { return rowValues_; }
    DotBox* dot(int row, int index) const;

  private:
    std::array<std::array<DotBox*, kColumnCount>, kRowCount> dots_{};
    std::array<int16_t, kRowCount> rowValues_{};
    QString appPath_;
    std::unique_ptr<DotGridInput> input_;
};
