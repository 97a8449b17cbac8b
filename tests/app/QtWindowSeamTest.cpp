#include "AppTestSupport.h"
#include "app/QtWindowSeam.h"

// Answers the next modal widget of type T as soon as it is up.
template <typename T>
static void whenUp(QObject* owner, std::function<void(T*)> answer) {
    poll(owner, [answer] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal != nullptr) {
            answer(modal);
        }
        return modal != nullptr;
    });
}

static void choose(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
}

TEST(QtWindowSeamTest, DialogsAndBoxesAnswerAsThePupilDid) {
    QtWindowSeam seam;
    QObject scope;
    TempFolder folder;
    const QString in = QString::fromStdString(folder.path()) + "/";
    const FileDialogSettings settings{"Titre", "Séquence (*.car)|*.car", ".car", in};
    writeBytes(folder.file("a.car"), "x");
    whenUp<QFileDialog>(&scope, [](QFileDialog* dialog) { choose(dialog, "a.car"); });
    EXPECT_EQ(seam.showOpen(nullptr, settings), in + "a.car");
    whenUp<QFileDialog>(&scope, [](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(seam.showOpen(nullptr, settings), "");
    whenUp<QFileDialog>(&scope, [](QFileDialog* dialog) { choose(dialog, "neuve"); });
    EXPECT_EQ(seam.showSave(nullptr, settings), in + "neuve.car");
    QString asked;  // before replacing a file
    whenUp<QFileDialog>(&scope, [&](QFileDialog* dialog) {
        whenUp<QMessageBox>(dialog, [&](QMessageBox* box) {
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        choose(dialog, "a.car");
    });
    EXPECT_EQ(seam.showSave(nullptr, settings), in + "a.car");
    EXPECT_TRUE(asked.contains("a.car")) << asked.toStdString();
    for (const auto& [style, icon] : {std::pair{0, QMessageBox::NoIcon},
                                      {48, QMessageBox::Warning},
                                      {4112, QMessageBox::Critical}}) {
        QString shown;
        whenUp<QMessageBox>(&scope, [&](QMessageBox* box) {
            shown =
                QStringLiteral("%1 %2 %3").arg(box->icon()).arg(box->windowTitle(), box->text());
            box->button(QMessageBox::Ok)->click();
        });
        seam.MsgBox(nullptr, "Texte", style);
        EXPECT_EQ(shown, QStringLiteral("%1 Vexlo Texte").arg(icon)) << style;
    }
}
