#pragma once

#include <QRect>
#include <QWidget>

// Window positions are given in twips: 1440 to the inch, so 15 to a pixel at 96 dots per inch.
// Scaling with the screen's logical DPI keeps the layout's proportions on large-font desktops.
inline int twipsToPixels(const QWidget* widget, int twips) {
    return twips * widget->logicalDpiX() / 1440;
}

inline QRect twipsRect(const QWidget* widget, int left, int top, int width, int height) {
    return QRect(twipsToPixels(widget, left), twipsToPixels(widget, top),
                 twipsToPixels(widget, width), twipsToPixels(widget, height));
}
