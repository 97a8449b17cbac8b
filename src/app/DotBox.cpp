#include "app/DotBox.h"

#include <QMouseEvent>

DotBox::DotBox(int index, QWidget* parent) : QLabel(parent), index_(index) {
    setAlignment(Qt::AlignCenter);
}

void DotBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked(index_);
    }
}
