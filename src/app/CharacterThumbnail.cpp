#include "app/CharacterThumbnail.h"

#include <QPainter>

#include "common/CharacterRecord.h"

namespace {

constexpr int kBorder = 2;
const QColor kPanel(192, 192, 192);
const QColor kLit(255, 0, 0);
const QColor kDark(150, 150, 150);

}  // namespace

QSize thumbnailSize(int dot) {
    return {2 * kBorder + kColumnCount * (dot + 1) - 1, 2 * kBorder + kRowCount * (dot + 1) - 1};
}

void paintThumbnail(QPainter& painter, QPoint topLeft, std::string_view record, int dot) {
    painter.fillRect(QRect(topLeft, thumbnailSize(dot)), kPanel);
    const RecordFields fields = splitRecord(record);
    for (int row = 0; row < kRowCount; ++row) {
        const auto lit = litDotsOfField(fields.rows[static_cast<size_t>(row)]);
        for (int index = 0; index < kColumnCount; ++index) {
            painter.fillRect(topLeft.x() + kBorder + index * (dot + 1),
                             topLeft.y() + kBorder + row * (dot + 1), dot, dot,
                             lit[static_cast<size_t>(index)] ? kLit : kDark);
        }
    }
}

QString durationCaption(std::string_view record) {
    QString duration = QString::fromStdString(splitRecord(record).rest);
    duration.replace(QLatin1Char('.'), QLatin1Char(','));
    return duration.isEmpty() ? QString() : duration + QStringLiteral(" s");
}
