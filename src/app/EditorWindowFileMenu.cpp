#include "app/EditorWindow.h"
#include "app/WindowSeam.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"

namespace {

QString describe(const FileOpResult& result) {
    return QString::fromStdString(frenchDescription(result.error)) + QLatin1Char('.');
}

}  // namespace

FileDialogSettings EditorWindow::CommonDialog1() const {
    return {QStringLiteral("Enregistrement de la séquence."),
            QStringLiteral("Séquence de caractère (*.car)|*.car"), QStringLiteral(".car"),
            QString::fromStdString(folders_.workFolder())};
}

void EditorWindow::mnunouveau_Click() {
    Initialisation();
}

void EditorWindow::mnucharger_Click() {
    chargerFichier(seam_.showOpen(this, CommonDialog1()));
}

void EditorWindow::chargerFichier(const QString& chosen) {
    if (chosen.isEmpty()) {
        seam_.MsgBox(this, QStringLiteral("Pas de fichier à ouvrir !!!"), vbExclamation,
                     QStringLiteral("Attention"));
        return;
    }
    const FileOpResult copied =
        copyFileAtomically(chosen.toStdString(), workingFile().toStdString());
    if (!copied.ok()) {
        seam_.MsgBox(this,
                     QStringLiteral("La séquence n'a pas pu être chargée.\r\n") + describe(copied),
                     vbExclamation, QStringLiteral("Attention"));
        return;
    }
    showStep(sequence_.loaded());
}

void EditorWindow::mnusauver_Click() {
    const QString chosen = seam_.showSave(this, CommonDialog1());
    if (chosen.isEmpty()) {
        return;
    }
    const FileOpResult copied =
        copyFileAtomically(workingFile().toStdString(), chosen.toStdString());
    if (copied.failure == FileOpResult::Failure::SourceMissing) {
        seam_.MsgBox(this,
                     QStringLiteral("Il n'y a rien à sauver : aucun caractère n'a été validé "
                                    "depuis le début ou depuis « Nouveau »."),
                     vbExclamation, QStringLiteral("Attention"));
    } else if (!copied.ok()) {
        seam_.MsgBox(this,
                     QStringLiteral("La séquence n'a pas pu être sauvée.\r\n") + describe(copied),
                     vbExclamation, QStringLiteral("Attention"));
    }
}
