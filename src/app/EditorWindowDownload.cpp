#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/EditorWindow.h"
#include "app/MyDosEvents.h"
#include "app/Twips.h"
#include "app/WindowSeam.h"
#include "download/DownloadRun.h"

namespace {

// Client width that brings the whole output box into view: its right edge plus its margin.
constexpr int kWideClientTwips = 4800 + 5775 + 120;

// The box shows the start of a long output only: a flood of compiler errors would otherwise
// be held a second time, twice as large, by the box. The whole output stays with the runner.
constexpr size_t kShownOutputBytes = 1024 * 1024;

int styleOf(DownloadMessage::Icon icon) {
    switch (icon) {
        case DownloadMessage::Icon::Exclamation:
            return vbExclamation;
        case DownloadMessage::Icon::Critical:
            return vbCritical;
        case DownloadMessage::Icon::CriticalSystemModal:
            return vbCritical | vbSystemModal;
        case DownloadMessage::Icon::None:
            break;
    }
    return vbOKOnly;
}

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
    if (!moduleToolsPresent()) {
        return;
    }
    // The window stays live while the build tool runs; the disabled button refuses a second
    // download meanwhile.
    downloading_ = true;
    CBDescendre_->setEnabled(false);
    DownloadRequest request;
    request.role = MaitreEsclave_[0]->isChecked() ? Role::Maitre : Role::Esclave;
    request.delayText = TRetard_->text().toStdString();
    request.programDir = folders_.programFolder();
    request.workingDir = folders_.workingFolder();
    // Held here: closing the window lets go of MyDOS during the run.
    DownloadRun run(MyDOS, *myDosEvents_);
    const DownloadResult result = run.run(request, sequence_);
    showStage(QString());
    CBDescendre_->setEnabled(true);
    downloading_ = false;
    if (result.kind == DownloadResult::Kind::Stopped || unloaded_) {
        return;
    }
    if (result.showOutput) {
        showOutputBox();
    }
    if (result.wordAt < shownOutput_.size() &&
        result.wordLength <= shownOutput_.size() - result.wordAt) {
        // The run counts bytes of UTF-8; the widget counts UTF-16 units.
        const auto units = [this](size_t bytes) {
            return static_cast<int>(
                QString::fromUtf8(shownOutput_.data(), static_cast<qsizetype>(bytes)).size());
        };
        QTextCursor selection(RTB1_->document());
        selection.setPosition(units(result.wordAt));
        selection.setPosition(units(result.wordAt + result.wordLength), QTextCursor::KeepAnchor);
        RTB1_->setTextCursor(selection);
    }
    const DownloadMessage& message = result.message;
    seam_.MsgBox(this, QString::fromStdString(message.text), styleOf(message.icon),
                 QString::fromStdString(message.title));
}

void EditorWindow::showStage(const QString& stage) {
    LÉtape_->setText(stage);
}

void EditorWindow::showOutputBox() {
    const int wide = twipsToPixels(this, kWideClientTwips);
    if (width() < wide) {
        resize(wide, height());
    }
}

void EditorWindow::clearOutput() {
    shownOutput_.clear();
    RTB1_->clear();
}

void EditorWindow::MyDos_ReceiveOutputs(std::string_view strCommandOutputs) {
    if (shownOutput_.size() > kShownOutputBytes) {
        return;  // the note is there already
    }
    std::string_view shown = strCommandOutputs.substr(0, kShownOutputBytes - shownOutput_.size());
    while (!shown.empty() && shown.size() < strCommandOutputs.size() &&
           (static_cast<unsigned char>(strCommandOutputs[shown.size()]) & 0xC0) == 0x80) {
        shown.remove_suffix(1);  // never cut a character in two
    }
    std::string added(shown);
    if (shown.size() < strCommandOutputs.size()) {
        added += "\n[…] La suite de la sortie n'est pas affichée ici.";  // and nothing more
    }
    shownOutput_ += added;
    const QString text = QString::fromStdString(added);
    // Appending keeps long compiler output linear.
    QTextCursor end(RTB1_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}
