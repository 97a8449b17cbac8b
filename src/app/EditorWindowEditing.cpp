#include <QLineEdit>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

void EditorWindow::showStep(const Step& step) {
    switch (step.kind) {
        case Step::AtEnd:
            seam_.Beep();
            break;
        case Step::NotStored:
        case Step::Refused:
            break;
        case Step::Moved:
            setNumberCaption(step.number);
            MiseAJourCaractère(QString::fromStdString(step.record));
            break;
    }
    if (!step.message.empty()) {
        seam_.MsgBox(this, QString::fromStdString(step.message), vbExclamation,
                     QStringLiteral("Attention"));
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
