#include <QLineEdit>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

void EditorWindow::showStep(const Step& step) {
    switch (step.kind) {
        case Step::AtEnd:
            seam_.Beep();
            break;
        case Step::NotStored:
            seam_.MsgBox(this, QString::fromStdString(notStoredMessage(step.error)), vbExclamation,
                         QStringLiteral("Attention"));
            break;
        case Step::Moved:
            setNumberCaption(step.number);
            MiseAJourCaractère(QString::fromStdString(step.record));
            break;
    }
}

void EditorWindow::CBCaracOk_Click() {
    showStep(sequence_.validate(grid_->rowValues(), TDurée_->text().toStdString()));
}

void EditorWindow::Command1_Click() {
    MiseAJourCaractère(QString::fromUtf8(kEraseRecord.data(), kEraseRecord.size()));
}

void EditorWindow::CBPrécédent_Click() {
    showStep(sequence_.previous());
}

void EditorWindow::CBSuivant_Click() {
    showStep(sequence_.next());
}
