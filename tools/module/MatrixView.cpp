#include "MatrixView.h"

#include <QPainter>

namespace {

constexpr int kPitch = 26, kDot = 20, kMargin = 14;
constexpr int kColumns = 5, kRows = 7;

}  // namespace

MatrixView::MatrixView(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void MatrixView::show(const std::optional<Picture>& picture) {
    if (picture != picture_) {
        picture_ = picture;
        update();
    }
}

QSize MatrixView::sizeHint() const {
    return {2 * kMargin + kColumns * kPitch, 2 * kMargin + kRows * kPitch};
}

void MatrixView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(30, 30, 30));
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const bool lit = picture_ && ((*picture_)[static_cast<std::size_t>(row)] >> column) & 1;
            painter.setPen(lit ? QColor(150, 0, 0) : QColor(64, 64, 64));
            painter.setBrush(lit ? QColor(255, 0, 0) : QColor(96, 96, 96));
            painter.drawEllipse(kMargin + column * kPitch + (kPitch - kDot) / 2,
                                kMargin + row * kPitch + (kPitch - kDot) / 2, kDot, kDot);
        }
    }
}
