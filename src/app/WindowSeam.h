#pragma once

#include <QString>
#include <optional>

class QWidget;

// Message box styles: icon + modality, as the window's messages use them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbCritical = 16,
    vbExclamation = 48,
    vbSystemModal = 4096,
};

struct FileDialogSettings {
    QString DialogTitle;
    QString Filter;  // "Description|pattern"
    QString DefaultExt;
    QString InitDir;
};

// Everything modal the window does goes through this seam, so tests can answer it without a
// modal loop. The real implementation is QtWindowSeam.
// The three answers to "Enregistrer la séquence avant de quitter ?".
enum class QuitAnswer { Save, QuitWithoutSaving, Cancel };

class WindowSeam {
  public:
    virtual ~WindowSeam() = default;

    // Shows a modal message; `title` is never empty (MsgBox below puts in the application's).
    virtual void showMessage(QWidget* parent, const QString& prompt, int style,
                             const QString& title) = 0;
    // Return the chosen path, or an empty text when the pupil cancels.
    virtual QString showOpen(QWidget* parent, const FileDialogSettings& settings) = 0;
    virtual QString showSave(QWidget* parent, const FileDialogSettings& settings) = 0;
    virtual void Beep() = 0;
    // Asks whether to save the sequence before the window closes.
    virtual QuitAnswer askSaveBeforeQuit(QWidget* parent) = 0;
    // Asks for one line of text, offering `text` to edit; nothing when the pupil cancels.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title,
                                           const QString& label, const QString& text) = 0;

    // A box without a title carries the application's title, "Vexlo".
    void MsgBox(QWidget* parent, const QString& prompt, int style = vbOKOnly,
                const QString& title = QString());
};
