#pragma once

#include <QLabel>

// One dot of the grid: a picture box that reports clicks and keeps its state in Tag, a short
// text ("1" lit, "0" dark), as the toggle decides by it alone.
class DotBox : public QLabel {
    Q_OBJECT
  public:
    DotBox(int index, QWidget* parent);

    int Index() const { return index_; }
    QString Tag;

  signals:
    void clicked(int index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int index_;
};
