#include "app/PictureFile.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

QPixmap loadPictureFile(const QString& path) {
    return QPixmap::fromImage(QImage(path));
}

namespace {

QPixmap blank(QSize size, const QColor& background) {
    QPixmap pixmap(size);
    pixmap.fill(background);
    return pixmap;
}

}  // namespace

QPixmap drawnDisc(QSize size, const QColor& colour, const QColor& background) {
    QPixmap pixmap = blank(size, background);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawEllipse(QRect(QPoint(1, 1), size - QSize(3, 3)));
    return pixmap;
}

QPixmap drawnPlayFace(QSize size) {
    QPixmap pixmap = blank(size, Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 200));
    const int h = size.height();
    const int w = size.width() / 2;
    for (int left : {1, w}) {
        painter.drawPolygon(
            QPolygon({QPoint(left, 1), QPoint(left + w - 2, h / 2), QPoint(left, h - 2)}));
    }
    return pixmap;
}

QPixmap drawnStopFace(QSize size) {
    QPixmap pixmap = blank(size, Qt::transparent);
    QPainter painter(&pixmap);
    const int side = size.height() - 4;
    painter.fillRect(QRect((size.width() - side) / 2, 2, side, side), QColor(200, 0, 0));
    return pixmap;
}
