#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "AppTestSupport.h"
#include "app/QtWindowSeam.h"

namespace {

// Answers the next modal widget of type T as soon as it is up.
template <typename T>
void whenModal(std::function<void(T*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(modal);
        }
    });
    poll->start(10);
}

void typeFileName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

class QtWindowSeamTest : public testing::Test {
  protected:
    QtWindowSeam seam;
    TempFolder folder;
    FileDialogSettings settings{QStringLiteral("Enregistrement de la séquence."),
                                QStringLiteral("Séquence de caractère (*.car)|*.car"),
                                QStringLiteral(".car"), QString()};
    void SetUp() override { settings.InitDir = QString::fromStdString(folder.path()); }
    QString at(const char* name) const { return QString::fromStdString(folder.file(name)); }
};

TEST_F(QtWindowSeamTest, TheOpenDialogReturnsTheChosenFileOrNothing) {
    writeBytes(folder.file("a.car"), "x");
    QString title;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        typeFileName(dialog, QStringLiteral("a.car"));
    });
    EXPECT_EQ(seam.showOpen(nullptr, settings), at("a.car"));
    EXPECT_EQ(title, "Enregistrement de la séquence.");

    whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(seam.showOpen(nullptr, settings), QString());
}

TEST_F(QtWindowSeamTest, TheSaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    whenModal<QFileDialog>([](QFileDialog* dialog) { typeFileName(dialog, "neuve"); });
    EXPECT_EQ(seam.showSave(nullptr, settings), at("neuve.car"));

    writeBytes(folder.file("vieille.car"), "x");
    bool asked = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        whenModal<QMessageBox>([&](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::Yes)->click();
        });
        typeFileName(dialog, "vieille.car");
    });
    EXPECT_EQ(seam.showSave(nullptr, settings), at("vieille.car"));
    EXPECT_TRUE(asked);
}

TEST_F(QtWindowSeamTest, MessageBoxesTakeTheirIconAndTitleFromTheStyle) {
    const struct {
        int style;
        QString title;
        QMessageBox::Icon icon;
    } cases[] = {{0, "Vexlo", QMessageBox::NoIcon},
                 {48, "Attention", QMessageBox::Warning},
                 {4112, "Erreur de communication", QMessageBox::Critical}};
    for (const auto& c : cases) {
        QMessageBox::Icon icon{};
        QString title;
        QString text;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        seam.MsgBox(nullptr, QStringLiteral("Texte"), c.style,
                    c.title == "Vexlo" ? QString() : c.title);
        EXPECT_EQ(icon, c.icon) << c.style;
        EXPECT_EQ(title, c.title) << c.style;
        EXPECT_EQ(text, "Texte") << c.style;
    }
}
