#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <algorithm>
#include <vector>

#include "app/EditorWindow.h"
#include "app/HeldKeys.h"

namespace {

// In a pair of option buttons the arrows select the other one: the module's role would change
// under a pupil who only meant to move on, so the arrows do nothing there.
class ArrowsIgnored : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
                return true;
            default:
                return false;
        }
    }
};

// Keys that keep their own meaning in a text box instead of running the window's shortcut of
// the same keys, as the output box's Page Up or Ctrl+Z in the duration box.
class KeysKept : public QObject {
  public:
    KeysKept(QObject* parent, std::vector<QKeyCombination> keys)
        : QObject(parent), keys_(std::move(keys)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
        if (std::find(keys_.begin(), keys_.end(), pressed) == keys_.end()) {
            return false;
        }
        event->accept();
        return true;
    }

  private:
    std::vector<QKeyCombination> keys_;
};

// A text box undoes and redoes its own text with the keys every desktop uses for it,
// whatever the desktop's key scheme says (X11 knows no Ctrl+Y).
class TextBoxKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
        auto* box = static_cast<QLineEdit*>(watched);
        if (pressed == (Qt::CTRL | Qt::Key_Z)) {
            box->undo();
            return true;
        }
        if (pressed == (Qt::CTRL | Qt::Key_Y) || pressed == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z)) {
            box->redo();
            return true;
        }
        return false;
    }
};

}  // namespace

// Keys press the buttons themselves, so each runs the button's own handler.
void EditorWindow::bindKeys() {
    connect(TDurée_, &QLineEdit::returnPressed, CBCaracOk_, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, CBPrécédent_,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, CBSuivant_,
            &QPushButton::click);
    auto* arrowsIgnored = new ArrowsIgnored(this);
    for (QRadioButton* role : MaitreEsclave_) {
        role->installEventFilter(arrowsIgnored);
        role->setFocusPolicy(Qt::TabFocus);
    }
    // A click on a button leaves the focus where it was, mostly on the grid, so Space goes on
    // lighting dots; Tab still reaches every button.
    for (QPushButton* button : client_->findChildren<QPushButton*>()) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    RTB1_->installEventFilter(
        new KeysKept(this, {QKeyCombination(Qt::Key_PageUp), QKeyCombination(Qt::Key_PageDown)}));
    auto* textKeys = new KeysKept(
        this, {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
               QKeyCombination(Qt::Key_Delete), Qt::CTRL | Qt::SHIFT | Qt::Key_Left,
               Qt::CTRL | Qt::SHIFT | Qt::Key_Right});
    auto* textBoxKeys = new TextBoxKeys(this);
    // One press of Return validates once, however long it is held.
    auto* heldReturn = new HeldKeys(this, {Qt::Key_Return, Qt::Key_Enter});
    for (QLineEdit* box : {TDurée_, TRetard_}) {
        box->installEventFilter(textKeys);
        box->installEventFilter(textBoxKeys);
        box->installEventFilter(heldReturn);
    }
}
