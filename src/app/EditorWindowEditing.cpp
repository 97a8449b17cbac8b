#include <QLabel>
#include <QLineEdit>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"
#include "common/CharacterRecord.h"
#include "common/LeadingNumber.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

const QString kBlankRecord = QStringLiteral("0;0;0;0;0;0;0;0.5");
const QString kEraseRecord = QStringLiteral("0;0;0;0;0;0;0");
constexpr int16_t kHighestNumber = INT16_MAX;

}  // namespace

QString EditorWindow::readKey(const std::string& key) const {
    return QString::fromStdString(
        LireIni(std::string(kSequenceSection), key, workingFile().toStdString()));
}

void EditorWindow::writeKey(const std::string& key, const QString& value) const {
    // A failed write shows later as a missing record, as with the profile services.
    EcrireIni(std::string(kSequenceSection), key, value.toStdString(), workingFile().toStdString());
}

int16_t EditorWindow::shownNumber() const {
    return roundToInt16(leadingNumber(LNumCaractère_->text().toStdString()));
}

QString EditorWindow::VirguleEnPoint(QString& Chaine) {
    qsizetype first = 0;
    qsizetype last = Chaine.size();
    while (first < last && Chaine[first] == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && Chaine[last - 1] == QLatin1Char(' ')) {
        --last;
    }
    Chaine = Chaine.mid(first, last - first);
    const qsizetype comma = Chaine.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        Chaine[comma] = QLatin1Char('.');
    }
    return Chaine;
}

void EditorWindow::CBCaracOk_Click() {
    // What the pupil sees is what gets stored and moved from, unless the preview drives the
    // numbers.
    if (!playing_) {
        currentNumber_ = shownNumber();
    }
    const int16_t validated = shownNumber();
    if (validated >= kHighestNumber || currentNumber_ >= kHighestNumber) {
        seam_.Beep();
        return;
    }
    validationFlag_ = 1;

    QString duration = TDurée_->text();
    const QString record = QString::fromStdString(
        formatRecord(grid_->rowValues(), VirguleEnPoint(duration).toStdString()));

    // "Nombre" counts every stored character and never one that is not stored.
    const int16_t stored =
        roundToInt16(leadingNumber(readKey(std::string(kCountKey)).toStdString()));
    writeKey(std::string(kCountKey), QString::number(std::max(stored, validated)));
    writeKey(std::string(kRecordKeyPrefix) + LNumCaractère_->text().toStdString(), record);

    if (validated >= characterCount_) {
        characterCount_ = static_cast<int16_t>(validated + 1);
    }
    ++currentNumber_;
    setNumberCaption(QString::number(currentNumber_));

    const QString next = readKey(recordKey(currentNumber_));
    MiseAJourCaractère(next.isEmpty() ? kBlankRecord : next);
}

void EditorWindow::Command1_Click() {
    MiseAJourCaractère(kEraseRecord);
}

void EditorWindow::CBPrécédent_Click() {
    if (!playing_) {
        currentNumber_ = shownNumber();
    }
    if (currentNumber_ <= 1) {
        seam_.Beep();
        currentNumber_ = 1;
        return;
    }
    --currentNumber_;
    setNumberCaption(QString::number(currentNumber_));
    MiseAJourCaractère(readKey(recordKey(currentNumber_)));
}

void EditorWindow::CBSuivant_Click() {
    if (!playing_) {
        currentNumber_ = shownNumber();
    }
    if (currentNumber_ >= characterCount_) {  // the count is 16-bit, so +1 never overflows
        seam_.Beep();
        currentNumber_ = characterCount_;
        return;
    }
    ++currentNumber_;
    setNumberCaption(QString::number(currentNumber_));
    MiseAJourCaractère(readKey(recordKey(currentNumber_)));
}
