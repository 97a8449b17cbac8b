#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/EditorWindow.h"
#include "app/MyDosEvents.h"
#include "app/Twips.h"
#include "app/WindowSeam.h"
#include "common/SystemError.h"
#include "common/Utf8Path.h"
#include "console/DOSClass.h"
#include "firmware/BuildOutputView.h"
#include "firmware/DownloadOutcome.h"
#include "firmware/Generation.h"
#include "firmware/ModuleCapacity.h"

namespace {

const QString kSendingStage = QStringLiteral("Envoi au module…");

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
    // The window stays live while the build tool runs; the disabled button refuses a second
    // download meanwhile.
    downloading_ = true;
    CBDescendre_->setEnabled(false);
    if (sequenceFitsModule() && moduleToolsPresent() && generateSource()) {
        buildAndSend();
    }
    showStage(QString());
    CBDescendre_->setEnabled(true);
    downloading_ = false;
}

bool EditorWindow::sequenceFitsModule() {
    const int16_t count = storedCharacterCount(folders_.workingFolder());
    if (count <= kMaxFirmwareCharacters) {
        return true;
    }
    seam_.MsgBox(this,
                 QStringLiteral("La séquence compte %1 caractères : la mémoire de l'afficheur en "
                                "contient au plus %2.\r\nRaccourcis la séquence. Rien n'a été "
                                "envoyé à l'afficheur.")
                     .arg(count)
                     .arg(kMaxFirmwareCharacters),
                 vbExclamation, QStringLiteral("Séquence trop longue"));
    return false;
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

int32_t EditorWindow::runMake(const char* argument) {
    box_.Text(std::string());
    RTB1_->clear();
    MyDOS->setCommandArgument(argument);
    // Hold the runner: closing the window lets go of MyDOS during the run.
    const std::shared_ptr<DOSClass> dos = MyDOS;
    return dos->ExecuteCommand(true);
}

void EditorWindow::buildAndSend() {
    MyDOS->setCommandWorkingDirectory(folders_.workingFolder());
    MyDOS->setCommandName("make");
    // Only our own words decide: a translated message of make could hold "Aucune".
    MyDOS->setEnvironmentChanges({"LC_ALL=C", "LANGUAGE"});
    showStage(QStringLiteral("Compilation…"));
    const int32_t started = runMake("all");
    if (unloaded_) {
        return;
    }
    const bool compiled = compileSucceeded(box_);
    showFoundWord();
    if (!compiled) {
        showOutputBox();
        tell(compileErrorText(started), vbCritical | vbSystemModal,
             QStringLiteral("Erreur de compilation"));
        return;
    }
    showStage(kSendingStage);
    runMake("program");
    if (unloaded_) {
        return;
    }
    const DownloadOutcome outcome = downloadOutcome(box_);
    showFoundWord();
    switch (outcome) {
        case DownloadOutcome::ErreurCommunication:
            tell(QStringLiteral("L'afficheur ne répond pas. \r\n\r\nVérifie la connection du câble "
                                "au PC et que la pile est bien branchée."),
                 vbCritical | vbSystemModal, QStringLiteral("Erreur de communication"));
            break;
        case DownloadOutcome::ErreurIndefinie:
            showOutputBox();
            tell(QStringLiteral("Une erreur indéfinie c'est produite.\r\n Appelle le Maître."));
            break;
        case DownloadOutcome::Succes:
            tell(QStringLiteral("Programmation réussie.\r\nRegarde ton afficheur."));
            break;
    }
}

QString EditorWindow::compileErrorText(int32_t started) const {
    QString shown;
    if (started != 0 && started != DOSClass::kResultKilled) {
        // Both a missing tool and a folder that cannot be entered give ENOENT: name the one at
        // fault.
        const std::string& folder = folders_.workingFolder();
        std::error_code unused;
        const bool entered = std::filesystem::is_directory(utf8Path(folder), unused);
        const SystemError error{entered ? "make" : folder, started};
        shown = QStringLiteral("L'outil de construction ne peut pas être lancé (%1).")
                    .arg(QString::fromStdString(frenchDescription(error)));
    } else {
        bool cut = false;
        shown = QString::fromStdString(compileErrorExcerpt(box_.Text(), cut));
        if (cut) {
            shown += QStringLiteral(
                "\r\n[…] La suite est dans la zone de sortie, à droite de la fenêtre.");
        }
    }
    return QStringLiteral("Erreur de compilation.\r\nL'erreur est la suivante :\r\n") + shown +
           QStringLiteral("\r\nAppelle le Maître.");
}

void EditorWindow::tell(const QString& prompt, int style, const QString& title) {
    showStage(QString());
    seam_.MsgBox(this, prompt, style, title);
}

void EditorWindow::showStage(const QString& stage) {
    LÉtape_->setText(stage);
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
    if (LÉtape_->text().startsWith(kSendingStage)) {
        const QString progress = QString::fromStdString(sendingProgress(box_.Text()));
        showStage(progress.isEmpty() ? kSendingStage
                                     : kSendingStage + QStringLiteral(" ") + progress);
    }
}

void EditorWindow::MyDos_ReceiveErrors(std::string& strCommandErrors) {
    MyDos_ReceiveOutputs(strCommandErrors);
}
