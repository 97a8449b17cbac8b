#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "app/EditorWindow.h"
#include "app/MyDosEvents.h"
#include "app/Twips.h"
#include "app/WindowSeam.h"
#include "common/SystemError.h"
#include "console/DOSClass.h"
#include "firmware/DownloadOutcome.h"
#include "firmware/Generation.h"

namespace {

// Client width that brings the whole output box into view: its right edge plus its margin.
constexpr int kWideClientTwips = 4800 + 5775 + 120;

}  // namespace

void EditorWindow::MaitreEsclave_Click(int Index) {
    const bool slave = Index == 1;
    if (slave && LNumCaractère_->text() == QStringLiteral("1")) {
        LRetard_->show();
        TRetard_->show();
    }
    LDurée_->hide();
    TDurée_->hide();
    if (!slave) {
        LRetard_->hide();
        TRetard_->hide();
        LDurée_->show();
        TDurée_->show();
    }
}

void EditorWindow::CBDescendre_Click() {
    // The window stays live while the build tool runs; one download at a time.
    if (downloading_) {
        seam_.Beep();
        return;
    }
    downloading_ = true;
    if (generateSource()) {
        construireEtTelecharger();
    }
    downloading_ = false;
}

bool EditorWindow::generateSource() {
    const Role role = MaitreEsclave_[0]->isChecked() ? Role::Maitre : Role::Esclave;
    const GenerationResult result =
        ::generateSource(box_, role, TRetard_->text().toStdString(), folders_.programFolder(),
                         folders_.workingFolder());
    sequence_.downloaded(result.characterCount);
    RTB1_->setPlainText(QString::fromStdString(box_.Text()));
    if (result.kind == GenerationResult::Ok) {
        return true;
    }
    const QString file = QString::fromStdString(result.file.path);
    const QString reason = QString::fromStdString(frenchReason(result.file.number));
    const QString text = result.kind == GenerationResult::TemplateUnreadable
                             ? QStringLiteral(
                                   "Le modèle du programme « %1 » ne peut pas être lu : %2.\r\n"
                                   "Rien n'a été envoyé à l'afficheur. Appelle le Maître.")
                             : QStringLiteral(
                                   "Le programme « %1 » ne peut pas être écrit : %2.\r\n"
                                   "Rien n'a été envoyé à l'afficheur. Appelle le Maître.");
    seam_.MsgBox(this, text.arg(file, reason), vbCritical, QStringLiteral("Erreur de fichier"));
    return false;
}

void EditorWindow::runMake(const char* argument) {
    box_.Text(std::string());
    RTB1_->clear();
    MyDOS->setCommandArgument(argument);
    // Hold the runner: closing the window lets go of MyDOS during the run.
    const std::shared_ptr<DOSClass> dos = MyDOS;
    dos->ExecuteCommand(true);
}

void EditorWindow::construireEtTelecharger() {
    MyDOS->setCommandWorkingDirectory(folders_.workingFolder());
    MyDOS->setCommandName("make");
    runMake("all");
    if (unloaded_) {
        return;
    }
    const bool compiled = compilationReussie(box_);
    showFoundWord();
    if (!compiled) {
        showOutputBox();
        seam_.MsgBox(this,
                     QStringLiteral("Erreur de compilation.\r\nL'erreur est la suivante :\r\n") +
                         QString::fromStdString(box_.Text()) +
                         QStringLiteral("\r\nAppelle le Maître."),
                     vbCritical | vbSystemModal, QStringLiteral("Erreur de compilation"));
        return;
    }
    runMake("program");
    if (unloaded_) {
        return;
    }
    const DownloadOutcome outcome = issueTelechargement(box_);
    showFoundWord();
    switch (outcome) {
        case DownloadOutcome::ErreurCommunication:
            seam_.MsgBox(this,
                         QStringLiteral("L'afficheur ne répond pas. \r\n\r\nVérifie la connection "
                                        "du câble au PC et que la pile est bien branchée."),
                         vbCritical | vbSystemModal, QStringLiteral("Erreur de communication"));
            break;
        case DownloadOutcome::ErreurIndefinie:
            showOutputBox();
            seam_.MsgBox(this, QStringLiteral("Une erreur indéfinie c'est produite.\r\n Appelle "
                                              "le Maître."));
            break;
        case DownloadOutcome::Succes:
            seam_.MsgBox(this, QStringLiteral("Programmation réussie.\r\nRegarde ton afficheur."));
            break;
    }
}

void EditorWindow::showFoundWord() {
    // The text box counts bytes of UTF-8; the widget counts UTF-16 units.
    const std::string& text = box_.Text();
    const auto units = [&text](int32_t bytes) {
        return static_cast<int>(QString::fromUtf8(text.data(), bytes).size());
    };
    QTextCursor selection(RTB1_->document());
    selection.setPosition(units(box_.selStart()));
    selection.setPosition(units(box_.selStart() + box_.selLength()), QTextCursor::KeepAnchor);
    RTB1_->setTextCursor(selection);
}

void EditorWindow::showOutputBox() {
    const int wide = twipsToPixels(this, kWideClientTwips);
    if (width() < wide) {
        resize(wide, height());
    }
}

void EditorWindow::MyDos_ReceiveOutputs(std::string& strCommandOutputs) {
    box_.append(strCommandOutputs);
    // Appending keeps long compiler output linear; the box shows the same text.
    QTextCursor end(RTB1_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromStdString(strCommandOutputs));
}

void EditorWindow::MyDos_ReceiveErrors(std::string& strCommandErrors) {
    MyDos_ReceiveOutputs(strCommandErrors);
}
