#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <string_view>

class QPainter;

// A character record drawn small: its 5 x 7 dots, lit red or dark grey, on the grey panel of
// the grid. `dot` is the side of one dot in pixels; dots are one pixel apart and the panel has
// a border of two pixels.
QSize thumbnailSize(int dot);
void paintThumbnail(QPainter& painter, QPoint topLeft, std::string_view record, int dot);

// The record's duration as a French reader writes it, "1,5 s"; empty text for none.
QString durationCaption(std::string_view record);
