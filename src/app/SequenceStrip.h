#pragma once

#include <QScrollArea>
#include <string>
#include <vector>

class StripCanvas;

// The whole sequence at a glance, below the editing controls: one small thumbnail per stored
// character with its number, then the open position after them. The shown character is framed
// in blue; characters beyond what the module holds have a red number on a pink ground. Only
// the thumbnails in view are drawn, so a long sequence costs no more than a short one.
// A click asks to show a character; dragging a stored one asks to move it. The strip never
// takes the keyboard focus: the pupil goes on drawing on the grid.
class SequenceStrip : public QScrollArea {
    Q_OBJECT
  public:
    explicit SequenceStrip(QWidget* parent);

    // The stored records, character 1 first, and the number shown on the grid; the shown one
    // is scrolled into view.
    void setSequence(std::vector<std::string> records, int shown);

    int count() const;
    int shown() const;
    // Where the thumbnail of `number` is drawn, in the coordinates of `canvas()`.
    QRect thumbnailRect(int number) const;
    QWidget* canvas() const;

  signals:
    void showRequested(int number);
    void moveRequested(int from, int to);

  private:
    StripCanvas* canvas_;
};
