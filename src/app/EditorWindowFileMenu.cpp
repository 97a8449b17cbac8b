#include <QFile>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

FileDialogSettings EditorWindow::CommonDialog1() const {
    return {QStringLiteral("Enregistrement de la séquence."),
            QStringLiteral("Séquence de caractère (*.car)|*.car"), QStringLiteral(".car"),
            QString::fromStdString(folders_.workFolder())};
}

void EditorWindow::mnunouveau_Click() {
    showStep(sequence_.newSequence());
}

void EditorWindow::mnucharger_Click() {
    chargerFichier(seam_.showOpen(this, CommonDialog1()));
}

void EditorWindow::chargerFichier(const QString& chosen) {
    chargerFichier(chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString());
}

void EditorWindow::chargerFichier(const std::string& path) {
    showStep(sequence_.load(path));
}

void EditorWindow::mnusauver_Click() {
    const QString chosen = seam_.showSave(this, CommonDialog1());
    if (chosen.isEmpty()) {
        return;
    }
    if (const std::string failure = sequence_.save(QFile::encodeName(chosen).toStdString());
        !failure.empty()) {
        seam_.MsgBox(this, QString::fromStdString(failure), vbExclamation,
                     QStringLiteral("Attention"));
    }
}
