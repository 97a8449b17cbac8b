#include "AppTestSupport.h"
#include "app/QtWindowSeam.h"

namespace {

// Answers the next modal widget of type T as soon as it is up.
template <typename T>
void whenUp(QObject* owner, std::function<void(T*)> answer) {
    once(
        owner, [] { return qobject_cast<T*>(QApplication::activeModalWidget()) != nullptr; },
        [answer] { answer(qobject_cast<T*>(QApplication::activeModalWidget())); });
}

void choose(QFileDialog* dialog, const QString& name) {
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
    QString asked;
    whenUp<QFileDialog>(&scope, [&](QFileDialog* dialog) {
        whenUp<QMessageBox>(dialog, [&](QMessageBox* box) {
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        choose(dialog, "a.car");
    });
    EXPECT_EQ(seam.showSave(nullptr, settings), in + "a.car");
    EXPECT_TRUE(asked.contains("a.car")) << asked.toStdString();

    const struct {
        int style;
        QMessageBox::Icon icon;
    } cases[] = {
        {0, QMessageBox::NoIcon}, {48, QMessageBox::Warning}, {4112, QMessageBox::Critical}};
    for (const auto& c : cases) {
        QString shown;
        whenUp<QMessageBox>(&scope, [&](QMessageBox* box) {
            shown =
                QStringLiteral("%1 %2 %3").arg(box->icon()).arg(box->windowTitle(), box->text());
            box->button(QMessageBox::Ok)->click();
        });
        seam.MsgBox(nullptr, "Texte", c.style);
        EXPECT_EQ(shown, QStringLiteral("%1 Vexlo Texte").arg(c.icon)) << c.style;
    }
}

}  // namespace
