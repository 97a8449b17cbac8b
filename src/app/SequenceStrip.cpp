#include "app/SequenceStrip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "app/CharacterThumbnail.h"
#include "sequence/SequenceModel.h"

namespace {

constexpr int kDot = 3;
constexpr int kCellWidth = 30;
constexpr int kCellHeight = 48;
constexpr int kThumbnailTop = 3;
const QColor kShownFrame(0, 0, 200);
const QColor kShownGround(215, 225, 255);
const QColor kBeyondGround(255, 220, 220);

}  // namespace

// The painted row of thumbnails inside the scroll area. Cell n - 1 holds character n; the cell
// after the last stored character is the open position.
class StripCanvas : public QWidget {
  public:
    explicit StripCanvas(SequenceStrip* strip) : QWidget(strip), strip_(strip) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setSequence(std::vector<std::string> records, int shown) {
        records_ = std::move(records);
        shown_ = shown;
        resize(cellCount() * kCellWidth, kCellHeight);
        update();
    }
    int count() const { return static_cast<int>(records_.size()); }
    int shown() const { return shown_; }
    QRect cellRect(int number) const {
        return {(number - 1) * kCellWidth, 0, kCellWidth, kCellHeight};
    }
    QRect thumbnailRect(int number) const {
        const QSize size = thumbnailSize(kDot);
        return {QPoint(cellRect(number).center().x() - size.width() / 2, kThumbnailTop), size};
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip) {
            return QWidget::event(event);
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTip(numberAt(help->pos()));
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }

    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Base));
        const int first = std::max(event->rect().left() / kCellWidth, 0) + 1;
        const int last = std::min(event->rect().right() / kCellWidth + 1, cellCount());
        QFont small = font();
        small.setPointSizeF(7);
        painter.setFont(small);
        for (int number = first; number <= last; ++number) {
            paintCell(painter, number);
        }
        if (dropGap_ >= 0) {
            painter.fillRect(dropGap_ * kCellWidth - 1, 0, 3, kCellHeight, kShownFrame);
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        pressed_ = numberAt(event->position().toPoint());
        pressPoint_ = event->position().toPoint();
        dropGap_ = -1;
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint point = event->position().toPoint();
        if (pressed_ < 1 || pressed_ > count() || !(event->buttons() & Qt::LeftButton)) {
            return;
        }
        if (dropGap_ < 0 &&
            (point - pressPoint_).manhattanLength() < QApplication::startDragDistance()) {
            return;
        }
        const int gap = std::clamp((point.x() + kCellWidth / 2) / kCellWidth, 0, count());
        if (gap != dropGap_) {
            dropGap_ = gap;
            update();
        }
        strip_->ensureVisible(point.x(), point.y(), kCellWidth, 0);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || pressed_ < 1) {
            return;
        }
        const int from = std::exchange(pressed_, 0);
        const int gap = std::exchange(dropGap_, -1);
        if (gap < 0) {
            if (numberAt(event->position().toPoint()) == from) {
                emit strip_->showRequested(from);
            }
            return;
        }
        update();
        // Dropped in the gap before cell `gap`: the character lands there once it left its place.
        const int to = gap >= from ? gap : gap + 1;
        if (to != from) {
            emit strip_->moveRequested(from, to);
        }
    }

  private:
    int cellCount() const { return count() + 1; }
    QString toolTip(int number) const {
        if (number < 1) {
            return {};
        }
        if (number > count()) {
            return QStringLiteral("Place libre : le prochain caractère validé vient ici");
        }
        QString text = QStringLiteral("Caractère %1, %2")
                           .arg(number)
                           .arg(durationCaption(records_[static_cast<size_t>(number - 1)]));
        if (number > kModuleCapacity) {
            text +=
                QStringLiteral(" : au-delà des %1 caractères de l'afficheur").arg(kModuleCapacity);
        }
        return text;
    }
    int numberAt(QPoint point) const {
        const int number = point.x() / kCellWidth + 1;
        return point.x() >= 0 && number <= cellCount() ? number : 0;
    }

    void paintCell(QPainter& painter, int number) {
        const QRect cell = cellRect(number);
        const bool beyond = number > kModuleCapacity;
        if (beyond) {
            painter.fillRect(cell.adjusted(1, 0, -1, 0), kBeyondGround);
        }
        if (number == shown_) {
            painter.fillRect(cell.adjusted(1, 0, -1, 0), kShownGround);
        }
        const QRect thumbnail = thumbnailRect(number);
        if (number <= count()) {
            paintThumbnail(painter, thumbnail.topLeft(), records_[static_cast<size_t>(number - 1)],
                           kDot);
        } else {
            painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
            painter.drawRect(thumbnail.adjusted(0, 0, -1, -1));
        }
        if (number == shown_) {
            painter.setPen(QPen(kShownFrame, 2));
            painter.drawRect(QRectF(cell).adjusted(2, 1, -2, -1));
        }
        painter.setPen(beyond ? QColor(255, 0, 0) : palette().color(QPalette::Text));
        painter.drawText(QRect(cell.left(), thumbnail.bottom() + 1, cell.width(),
                               kCellHeight - thumbnail.bottom() - 2),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(number));
    }

    SequenceStrip* strip_;
    std::vector<std::string> records_;
    int shown_ = 1;
    int pressed_ = 0;
    int dropGap_ = -1;  // the gap a dragged character would land in, -1 while none
    QPoint pressPoint_;
};

SequenceStrip::SequenceStrip(QWidget* parent)
    : QScrollArea(parent), canvas_(new StripCanvas(this)) {
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setSingleStep(kCellWidth);
    setWidget(canvas_);
    canvas_->setSequence({}, 1);
    viewport()->setBackgroundRole(QPalette::Base);
}

void SequenceStrip::setSequence(std::vector<std::string> records, int shown) {
    canvas_->setSequence(std::move(records), shown);
    ensureVisible(canvas_->cellRect(shown).center().x(), kCellHeight / 2, kCellWidth, 0);
}

int SequenceStrip::count() const {
    return canvas_->count();
}

int SequenceStrip::shown() const {
    return canvas_->shown();
}

QRect SequenceStrip::thumbnailRect(int number) const {
    return canvas_->thumbnailRect(number);
}

QWidget* SequenceStrip::canvas() const {
    return canvas_;
}
