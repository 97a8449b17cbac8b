#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

// Pictures are read from their file every time they are shown (a pupil may change them while
// the program runs). QPixmap(path) may hand back a cached copy, hence QImage.
// Returns a null pixmap when the file is missing or unreadable.
QPixmap loadPictureFile(const QString& path);

// Plain stand-ins drawn when a picture file is missing.
QPixmap drawnDisc(QSize size, const QColor& colour, const QColor& background);
QPixmap drawnPlayFace(QSize size);
QPixmap drawnStopFace(QSize size);
