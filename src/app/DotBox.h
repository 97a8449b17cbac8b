#pragma once

#include <QLabel>

// One dot of the grid: a picture box that keeps its state in Tag, a short text ("1" lit, "0"
// dark), as the toggle decides by it alone. Its Click event is `clicked`, raised by the grid's
// input for a press, Space or a drag over the dot. It shows a mark while it has the focus.
class DotBox : public QLabel {
    Q_OBJECT
  public:
    DotBox(int row, int index, QWidget* parent);

    int row() const { return row_; }
    int Index() const { return index_; }
    QString Tag;

    // Reads Tag as the toggle does.
    bool lit() const;
    // Raises the Click event and tells assistive technology the state it leaves.
    void click();

  signals:
    void clicked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int row_;
    int index_;
};
