#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/EditorWindow.h"
#include "app/PictureFile.h"
#include "common/DisplayInterval.h"
#include "storage/SequenceLayout.h"

namespace {

QIcon previewFace(const QString& appPath, const char* file, QPixmap (*drawn)(QSize)) {
    QPixmap picture = loadPictureFile(QDir(appPath).filePath(QString::fromUtf8(file)));
    return QIcon(picture.isNull() ? drawn(QSize(27, 15)) : picture);
}

}  // namespace

void EditorWindow::armTimer1(int32_t intervalMs) {
    // Interval 0 means no ticks; a Qt timer would fire continuously instead.
    Timer1_->setInterval(intervalMs);
    if (intervalMs > 0) {
        Timer1_->start();
    } else {
        Timer1_->stop();
    }
}

void EditorWindow::CBDéfiler_Click() {
    if (!playing_) {
        playing_ = true;
        CBDéfiler_->setIcon(previewFace(appPath_, "stop.gif", drawnStopFace));
        currentNumber_ = 1;
        // A pupil types "0,5": read it as a validation would store it, not as 0.
        QString duration = TDurée_->text();
        armTimer1(intervalOfDuration(VirguleEnPoint(duration).toStdString()));
    } else {
        playing_ = false;
        CBDéfiler_->setIcon(previewFace(appPath_, "lecture.gif", drawnPlayFace));
    }
}

void EditorWindow::Timer1_Timer() {
    setNumberCaption(QString::number(currentNumber_));
    MiseAJourCaractère(readKey(recordKey(currentNumber_)));
    const int lastShown = characterCount_ - validationFlag_;
    const int next = currentNumber_ + 1;
    if (playing_) {
        armTimer1(intervalOfDuration(TDurée_->text().toStdString()));
    } else {
        Timer1_->stop();
    }
    currentNumber_ = next > lastShown ? int16_t{1} : static_cast<int16_t>(next);
}
