#include "app/DotBox.h"

#include <QAccessible>
#include <QPainter>

#include "common/LeadingNumber.h"

DotBox::DotBox(int row, int index, QWidget* parent) : QLabel(parent), row_(row), index_(index) {
    setAlignment(Qt::AlignCenter);
    setToolTip(
        QStringLiteral("Cliquer ou glisser pour dessiner ; au clavier, les flèches "
                       "choisissent un point et Espace l'allume ou l'éteint"));
}

bool DotBox::lit() const {
    return leadingNumber(Tag.toStdString()) != 0;
}

void DotBox::click() {
    emit clicked(index_);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void DotBox::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 0, 160), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}
