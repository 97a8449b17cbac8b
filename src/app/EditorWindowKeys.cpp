#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "app/EditorWindow.h"

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

// The output box scrolls with Page Up and Page Down while it has the focus, as text boxes do,
// instead of letting them step through the characters.
class PageKeysKept : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            event->accept();
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
    }
    RTB1_->installEventFilter(new PageKeysKept(this));
}
