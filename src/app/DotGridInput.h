#pragma once

#include <QObject>
#include <QPoint>

class DotBox;
class DotGrid;
class QKeyEvent;

// Drawing on the dot grid with the keyboard and the pointer. Every change of a dot goes through
// its Click event, so the toggle stays the one code that changes dots:
// - the arrows move the focus from dot to dot, Home and End to the ends of the row, and Space
//   clicks the focused dot; these keys stop at the grid and reach no other control;
// - a press clicks the dot under the pointer, and dragging on clicks every dot the pointer
//   crosses that is not yet in the pressed dot's new state, as paint programs do.
// Only the focused dot is in the focus chain, so Tab reaches the grid once.
class DotGridInput : public QObject {
  public:
    explicit DotGridInput(const DotGrid& grid);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyPress(DotBox* dot, const QKeyEvent& event);
    void moveFocus(DotBox* to, Qt::FocusReason reason);
    void dragTo(QPoint to);
    DotBox* dotAt(QPoint point) const;  // in the coordinates of the dots' parent

    const DotGrid& grid_;
    DotBox* focusable_;
    bool dragging_ = false;
    bool dragLights_ = false;
    QPoint dragPoint_;
};
