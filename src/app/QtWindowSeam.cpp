#include "app/QtWindowSeam.h"

#include "app/ApplicationTitle.h"
#include "app/HeldKeys.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

// "Séquence de caractère (*.car)|*.car" -> "Séquence de caractère (*.car)": Qt reads the
// patterns from the parentheses of the description.
QString qtFilter(const QString& filter) {
    return filter.section(QLatin1Char('|'), 0, 0);
}

QFileDialog* makeDialog(QWidget* parent, const FileDialogSettings& settings) {
    auto* dialog =
        new QFileDialog(parent, settings.DialogTitle, settings.InitDir, qtFilter(settings.Filter));
    QString suffix = settings.DefaultExt;
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    dialog->setDefaultSuffix(suffix);
    return dialog;
}

QString run(QFileDialog* dialog) {
    QString chosen;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        chosen = dialog->selectedFiles().constFirst();
    }
    delete dialog;
    return chosen;
}

}  // namespace

void QtWindowSeam::showMessage(QWidget* parent, const QString& prompt, int style,
                               const QString& title) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if ((style & vbExclamation) == vbExclamation) {
        icon = QMessageBox::Warning;
    } else if (style & vbCritical) {
        icon = QMessageBox::Critical;
    }
    QMessageBox box(icon, title, prompt, QMessageBox::Ok, parent);
    // X11 has no system-wide modality; application-modal is the strongest it offers.
    box.setWindowModality(Qt::ApplicationModal);
    // The Return that opened the box may still be held: its repeats must not close it unread.
    HeldKeys heldKeys(&box, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space});
    box.installEventFilter(&heldKeys);
    for (QWidget* part : box.findChildren<QWidget*>()) {
        part->installEventFilter(&heldKeys);
    }
    box.exec();
}

QString QtWindowSeam::showOpen(QWidget* parent, const FileDialogSettings& settings) {
    QFileDialog* dialog = makeDialog(parent, settings);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

QString QtWindowSeam::showSave(QWidget* parent, const FileDialogSettings& settings) {
    QFileDialog* dialog = makeDialog(parent, settings);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);  // asks before replacing an existing file
    return run(dialog);
}

void QtWindowSeam::Beep() {
    QApplication::beep();
}

QuitAnswer QtWindowSeam::askSaveBeforeQuit(QWidget* parent) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle,
                    QStringLiteral("Enregistrer la séquence avant de quitter ?"),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* quit =
        box.addButton(QStringLiteral("Quitter sans enregistrer"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return QuitAnswer::Save;
    }
    return box.clickedButton() == quit ? QuitAnswer::QuitWithoutSaving : QuitAnswer::Cancel;
}

std::optional<QString> QtWindowSeam::askText(QWidget* parent, const QString& title,
                                             const QString& label, const QString& text) {
    bool accepted = false;
    const QString typed =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &accepted);
    return accepted ? std::optional(typed) : std::nullopt;
}
