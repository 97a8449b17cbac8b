#pragma once

#include <QWidget>
#include <optional>

#include "DotDecoder.h"

// One module's 5 x 7 dot matrix: lit dots red, dark ones grey, all grey while it shows nothing.
class MatrixView : public QWidget {
    Q_OBJECT
  public:
    explicit MatrixView(QWidget* parent = nullptr);
    void show(const std::optional<Picture>& picture);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<Picture> picture_;
};
