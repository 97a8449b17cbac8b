#include "app/DotGridInput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>

#include "app/DotBox.h"
#include "app/DotGrid.h"

DotGridInput::DotGridInput(const DotGrid& grid) : grid_(grid), focusable_(grid.dot(0, 0)) {
    for (int row = 0; row < kRowCount; ++row) {
        for (int index = 0; index < kColumnCount; ++index) {
            grid.dot(row, index)->installEventFilter(this);
        }
    }
    focusable_->setFocusPolicy(Qt::StrongFocus);
}

bool DotGridInput::eventFilter(QObject* watched, QEvent* event) {
    auto* dot = qobject_cast<DotBox*>(watched);
    if (dot == nullptr) {
        return false;
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(dot, static_cast<const QKeyEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {  // the second click of a quick pair toggles again
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (mouse.button() != Qt::LeftButton) {
                return false;
            }
            moveFocus(dot, Qt::MouseFocusReason);
            dot->click();
            dragging_ = true;
            dragLights_ = dot->lit();
            dragPoint_ = dot->mapToParent(mouse.position().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (!dragging_ || !(mouse.buttons() & Qt::LeftButton)) {
                return false;
            }
            // While the button is held every move comes to the pressed dot.
            dragTo(dot->mapToParent(mouse.position().toPoint()));
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton) {
                dragging_ = false;
            }
            return false;
        default:
            return false;
    }
}

bool DotGridInput::keyPress(DotBox* dot, const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    int row = dot->row();
    int index = dot->Index();
    switch (event.key()) {
        case Qt::Key_Left:
            index = std::max(index - 1, 0);
            break;
        case Qt::Key_Right:
            index = std::min(index + 1, kColumnCount - 1);
            break;
        case Qt::Key_Up:
            row = std::max(row - 1, 0);
            break;
        case Qt::Key_Down:
            row = std::min(row + 1, kRowCount - 1);
            break;
        case Qt::Key_Home:
            index = 0;
            break;
        case Qt::Key_End:
            index = kColumnCount - 1;
            break;
        case Qt::Key_Space:
            if (!event.isAutoRepeat()) {  // a held key would make the dot blink
                dot->click();
            }
            return true;
        default:
            return false;
    }
    moveFocus(grid_.dot(row, index), Qt::OtherFocusReason);
    return true;
}

void DotGridInput::moveFocus(DotBox* to, Qt::FocusReason reason) {
    if (to == focusable_) {
        to->setFocus(reason);
        return;
    }
    to->setFocusPolicy(Qt::StrongFocus);
    to->setFocus(reason);
    focusable_->setFocusPolicy(Qt::NoFocus);
    focusable_ = to;
}

void DotGridInput::dragTo(QPoint to) {
    // Moves come far apart when the pointer is fast: walk the straight line between them so
    // that no crossed dot is skipped.
    const QPoint from = dragPoint_;
    const int steps = std::max({std::abs(to.x() - from.x()), std::abs(to.y() - from.y()), 1});
    for (int step = 1; step <= steps; ++step) {
        const QPoint point = from + (to - from) * step / steps;
        DotBox* dot = dotAt(point);
        if (dot != nullptr && dot->lit() != dragLights_) {
            dot->click();
        }
    }
    dragPoint_ = to;
}

DotBox* DotGridInput::dotAt(QPoint point) const {
    for (int row = 0; row < kRowCount; ++row) {
        for (int index = 0; index < kColumnCount; ++index) {
            DotBox* dot = grid_.dot(row, index);
            if (dot->geometry().contains(point)) {
                return dot;
            }
        }
    }
    return nullptr;
}
