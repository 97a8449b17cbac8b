#include "app/SequenceImage.h"

#include <QPainter>
#include <algorithm>

#include "app/CharacterThumbnail.h"
#include "sequence/SequenceModel.h"

namespace {

constexpr int kPerRow = 14;
constexpr int kDot = 6;
constexpr int kCellWidth = 64;
constexpr int kTextHeight = 18;
constexpr int kMargin = 8;

int cellHeight() {
    return 2 * kTextHeight + thumbnailSize(kDot).height() + 8;
}

}  // namespace

QImage sequenceImage(const std::vector<std::string>& records) {
    const int count = static_cast<int>(records.size());
    const int columns = std::min(count, kPerRow);
    const int rows = (count + kPerRow - 1) / kPerRow;
    QImage image(2 * kMargin + columns * kCellWidth, 2 * kMargin + rows * cellHeight(),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    const QSize thumbnail = thumbnailSize(kDot);
    for (int n = 0; n < count; ++n) {
        const int number = n + 1;
        const QRect cell(kMargin + (n % kPerRow) * kCellWidth,
                         kMargin + (n / kPerRow) * cellHeight(), kCellWidth, cellHeight());
        painter.setPen(number > kModuleCapacity ? QColor(255, 0, 0) : QColor(Qt::black));
        painter.drawText(QRect(cell.left(), cell.top(), cell.width(), kTextHeight), Qt::AlignCenter,
                         QString::number(number));
        const QPoint topLeft(cell.center().x() - thumbnail.width() / 2, cell.top() + kTextHeight);
        paintThumbnail(painter, topLeft, records[static_cast<size_t>(n)], kDot);
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(cell.left(), topLeft.y() + thumbnail.height() + 2, cell.width(), kTextHeight),
            Qt::AlignCenter, durationCaption(records[static_cast<size_t>(n)]));
    }
    return image;
}
