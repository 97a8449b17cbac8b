#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "app/EditorWindow.h"
#include "app/SequenceImage.h"
#include "app/SequenceStrip.h"
#include "app/TerminationSignals.h"
#include "app/WindowSeam.h"
#include "storage/FileAccess.h"

void EditorWindow::buildEditMenu() {
    QMenu* mnuedition = menuBar()->addMenu(QStringLiteral("&Édition"));
    mnuedition->setObjectName(QStringLiteral("mnuedition"));
    // No keyboard has an É key: Alt+E opens the menu.
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_E), this), &QShortcut::activated, this,
            [this, mnuedition] { menuBar()->setActiveAction(mnuedition->menuAction()); });
    const struct {
        const char* name;
        const char* caption;
        QList<QKeySequence> shortcuts;
        void (EditorWindow::*handler)();
        bool repeats;  // held down, the shortcut acts again
        bool separatorAfter;
    } items[] = {
        {"mnuannuler",
         "&Annuler",
         {Qt::CTRL | Qt::Key_Z},
         &EditorWindow::mnuannuler_Click,
         true,
         false},
        {"mnuretablir",
         "&Rétablir",
         {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
         &EditorWindow::mnuretablir_Click,
         true,
         true},
        {"mnuinserer",
         "&Insérer un caractère",
         {Qt::Key_Insert},
         &EditorWindow::mnuinserer_Click,
         false,
         false},
        {"mnusupprimer",
         "&Supprimer ce caractère",
         {Qt::Key_Delete},
         &EditorWindow::mnusupprimer_Click,
         false,
         false},
        {"mnudupliquer",
         "&Dupliquer ce caractère",
         {Qt::CTRL | Qt::Key_D},
         &EditorWindow::mnudupliquer_Click,
         false,
         false},
        {"mnuavant",
         "Déplacer a&vant",
         {Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
         &EditorWindow::mnuavant_Click,
         true,
         false},
        {"mnuapres",
         "Déplacer a&près",
         {Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
         &EditorWindow::mnuapres_Click,
         true,
         true},
        {"mnutexte",
         "Écrire un &texte…",
         {Qt::CTRL | Qt::Key_T},
         &EditorWindow::mnutexte_Click,
         false,
         false},
        {"mnuimage",
         "E&xporter une image…",
         {Qt::CTRL | Qt::Key_E},
         &EditorWindow::mnuimage_Click,
         false,
         false},
    };
    for (const auto& item : items) {
        QAction* action = mnuedition->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        action->setShortcuts(item.shortcuts);
        action->setAutoRepeat(item.repeats);
        connect(action, &QAction::triggered, this, item.handler);
        if (item.separatorAfter) {
            mnuedition->addSeparator();
        }
    }
    mnuannuler_ = mnuedition->findChild<QAction*>(QStringLiteral("mnuannuler"));
    mnuretablir_ = mnuedition->findChild<QAction*>(QStringLiteral("mnuretablir"));
}

void EditorWindow::mnuannuler_Click() {
    showStep(sequence_.undo());
}

void EditorWindow::mnuretablir_Click() {
    showStep(sequence_.redo());
}

void EditorWindow::mnuinserer_Click() {
    showStep(sequence_.insertBlank());
}

void EditorWindow::mnusupprimer_Click() {
    showStep(sequence_.deleteShown());
}

void EditorWindow::mnudupliquer_Click() {
    showStep(sequence_.duplicateShown());
}

void EditorWindow::mnuavant_Click() {
    showStep(sequence_.moveShown(-1));
}

void EditorWindow::mnuapres_Click() {
    showStep(sequence_.moveShown(+1));
}

void EditorWindow::mnutexte_Click() {
    // A refused text is offered again, to be mended rather than typed anew.
    QString typed;
    for (;;) {
        const std::optional<QString> text =
            seam_.askText(this, QStringLiteral("Écrire un texte"),
                          QStringLiteral("Texte à ajouter à la fin de la séquence, chaque lettre "
                                         "avec la durée affichée :"),
                          typed);
        if (!text) {
            return;
        }
        const Step step = sequence_.appendText(text->toStdString(), TDurée_->text().toStdString());
        showStep(step);
        if (step.kind != Step::Refused) {
            return;
        }
        typed = *text;
    }
}

void EditorWindow::mnuimage_Click() {
    const std::vector<std::string>& records = sequence_.records();
    if (records.empty()) {
        seam_.MsgBox(this,
                     QStringLiteral("La séquence est vide : il n'y a pas d'image à exporter."),
                     vbExclamation, QStringLiteral("Attention"));
        return;
    }
    const QString chosen =
        seam_.showSave(this, {QStringLiteral("Exporter la séquence en image"),
                              QStringLiteral("Image PNG (*.png)|*.png"), QStringLiteral(".png"),
                              QString::fromStdString(folders_.workFolder())});
    if (chosen.isEmpty()) {
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    sequenceImage(records).save(&buffer, "PNG");
    const std::string path = QFile::encodeName(chosen).toStdString();
    if (const int error = writeFileAtomically(path, bytes.toStdString()); error != 0) {
        seam_.MsgBox(this,
                     QStringLiteral("L'image n'a pas pu être enregistrée.\r\n%1.")
                         .arg(QString::fromStdString(frenchDescription({path, error}))),
                     vbExclamation, QStringLiteral("Attention"));
    }
}

// The sequence steps one character at a time; a click on the strip walks there, as Previous
// and Next would, so the preview and the numbers follow their usual rules.
void EditorWindow::stripShow(int number) {
    const Step step = sequence_.showNumber(static_cast<int16_t>(number));
    if (step.kind == Step::Moved) {
        showStep(step);
    }
}

void EditorWindow::stripMove(int from, int to) {
    showStep(sequence_.move(static_cast<int16_t>(from), static_cast<int16_t>(to)));
}

bool EditorWindow::mayClose() {
    if (unloaded_ || TerminationSignals::ending() || !sequence_.modified()) {
        return true;
    }
    switch (seam_.askSaveBeforeQuit(this)) {
        case QuitAnswer::Save:
            mnusauver_Click();
            return !sequence_.modified();  // a cancelled or failed save keeps the window open
        case QuitAnswer::QuitWithoutSaving:
            return true;
        case QuitAnswer::Cancel:
            return false;
    }
    return false;
}
