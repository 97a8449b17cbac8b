#include "app/WindowSeam.h"

#include "app/ApplicationTitle.h"

void WindowSeam::MsgBox(QWidget* parent, const QString& prompt, int style, const QString& title) {
    showMessage(parent, prompt, style, title.isEmpty() ? kApplicationTitle : title);
}
