#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/EditorWindow.h"
#include "app/PictureFile.h"

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
    const PreviewChange change = sequence_.togglePreview(TDurée_->text().toStdString());
    if (change.playing) {
        CBDéfiler_->setIcon(previewFace(appPath_, "stop.gif", drawnStopFace));
        armTimer1(change.intervalMs);
    } else {
        CBDéfiler_->setIcon(previewFace(appPath_, "lecture.gif", drawnPlayFace));
    }
}

void EditorWindow::Timer1_Timer() {
    const Tick tick = sequence_.tick();
    setNumberCaption(tick.number);
    MiseAJourCaractère(QString::fromStdString(tick.record));
    armTimer1(tick.intervalMs);
}
