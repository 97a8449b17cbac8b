#pragma once

#include "app/WindowSeam.h"

// The seam as the pupil meets it: QMessageBox, QFileDialog and the desktop's bell.
class QtWindowSeam : public WindowSeam {
  public:
    void showMessage(QWidget* parent, const QString& prompt, int style,
                     const QString& title) override;
    QString showOpen(QWidget* parent, const FileDialogSettings& settings) override;
    QString showSave(QWidget* parent, const FileDialogSettings& settings) override;
    void Beep() override;
    QuitAnswer askSaveBeforeQuit(QWidget* parent) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& text) override;
};
