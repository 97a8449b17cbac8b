#pragma once

#include <QObject>
#include <initializer_list>
#include <vector>

class QKeyEvent;

// Lets only the first press of a held key through to the object it watches: each repeat would
// act once more (validate another character, close a message before it is read). X11 may send a
// repeat as a release and a press of the same instant, which a busy window receives apart and
// would take for a new press, so a press at the instant of the last release is a repeat too.
class HeldKeys : public QObject {
  public:
    HeldKeys(QObject* parent, std::initializer_list<int> keys) : QObject(parent), keys_(keys) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool repeated(const QKeyEvent& key);

    std::vector<int> keys_;
    int released_ = 0;  // the last of the keys released, and when
    quint64 releasedAt_ = 0;
};
