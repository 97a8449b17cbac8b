#include "app/HeldKeys.h"

#include <QKeyEvent>
#include <algorithm>

bool HeldKeys::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    return std::find(keys_.begin(), keys_.end(), key.key()) != keys_.end() && repeated(key);
}

bool HeldKeys::repeated(const QKeyEvent& key) {
    if (key.type() == QEvent::KeyRelease) {
        if (!key.isAutoRepeat()) {
            released_ = key.key();
            releasedAt_ = key.timestamp();
        }
        return false;
    }
    return key.isAutoRepeat() ||
           (releasedAt_ != 0 && released_ == key.key() && key.timestamp() == releasedAt_);
}
