#include "AppTestSupport.h"
#include "app/QtWindowSeam.h"
#include "app/SequenceStrip.h"

const std::array<int16_t, 7> kF = {31, 1, 1, 15, 1, 1, 1};
const std::string kStoredF = "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n";

// The number warns beyond 28, the delay shows for a slave on 1, the file menu says why it failed.
TEST_F(WindowTest, TheNumberTheRoleAndTheFileMenu) {
    auto shown = [this] {
        return std::tuple(control<QLabel>("LNumCaractère")->palette().color(QPalette::WindowText),
                          control<QLabel>("TTropDeCar")->text(), control("TRetard")->isVisible(),
                          duration()->isVisible());
    };
    for (int i = 1; i <= 28; ++i) {
        click("CBCaracOk");
    }
    control<QRadioButton>("MaitreEsclave1")->click();
    EXPECT_EQ(shown(), std::tuple(QColor(255, 0, 0), "28 caractères MAX !!!", false, false));
    menu("mnunouveau");
    EXPECT_EQ(shown(), std::tuple(QColor(192, 0, 192), "", true, false));
    control<QRadioButton>("MaitreEsclave0")->click();
    EXPECT_EQ(shown(), std::tuple(QColor(192, 0, 192), "", false, true));
    seam.answers = {file("Travail/vide.car"), {}, file("Travail/absent.car")};
    keys(Qt::CTRL | Qt::Key_S);
    EXPECT_TRUE(told().contains("rien à sauver"));
    keys(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(told(), "Attention (48) Pas de fichier à ouvrir !!!");
    menu("mnucharger");
    EXPECT_TRUE(told().contains(file("Travail/absent.car") + " » : le fichier"));
    writeBytes(folder.file("Travail/a.car"), kStoredF);
    seam.answers = {file("Travail/a.car"), file("Travail/b.car"), file("absent/b.car")};
    menu("mnucharger");
    EXPECT_EQ(std::tuple(rows(), duration()->text()), std::tuple(kF, QString("1.5")));
    menu("mnusauver");
    EXPECT_EQ(readBytes(folder.file("Travail/b.car")), kStoredF);
    menu("mnusauver");
    EXPECT_TRUE(told().contains(file("absent/b.car") + " » : le fichier"));
    QFile::remove(window->workingFile());
    QDir().mkdir(window->workingFile());
    duration()->setText("2");  // a change: the same character again writes nothing
    click("CBCaracOk");        // the words are SequenceModelTest's; the drawing stays
    EXPECT_TRUE(told().startsWith("Attention (48) Ce caractère n'a pas pu être enregistré"));
    EXPECT_EQ(std::tuple(number(), rows(), duration()->text()), std::tuple("1", kF, "2"));
    QDir().rmdir(window->workingFile());
    click("CBCaracOk");
    window.reset();  // a new start deletes the working file left by the last
    openWindow();
    EXPECT_FALSE(exists(folder.file("MessageTemporaire.car")));
    EXPECT_EQ(std::tuple(rows()[0], duration()->text()), std::tuple(0, QString("0.5")));
}

// Ticks are fired by hand, so no test waits for time. Missing pictures are drawn.
TEST_F(WindowTest, ThePreviewTicksShowTheCharactersUntilStopped) {
    writeBytes(folder.file("pointrouge.gif"), "not a picture");
    QFile::remove(file("stop.gif"));
    auto* timer = control<QTimer>("Timer1");
    auto tick = [timer] { QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection); };
    duration()->setText("0");
    click("CBDéfiler");  // stalls: a Qt timer of interval 0 would fire without end
    EXPECT_FALSE(timer->isActive());
    click("CBDéfiler");
    control<QRadioButton>("MaitreEsclave1")->click();  // the hidden duration is still stored
    for (const int n : {1, 2}) {
        window->MiseAJourCaractère(QString("%1;0;0;0;0;0;0;%1").arg(n));
        click("CBCaracOk");
    }
    duration()->setText("0,25");
    control("CBDéfiler")->setFocus();
    keys(Qt::Key_Space);
    EXPECT_EQ(timer->interval(), 250);
    EXPECT_FALSE(control<QPushButton>("CBDéfiler")->icon().isNull());
    for (const int n : {1, 2}) {
        tick();
        EXPECT_EQ(std::tuple(number(), rows()[0], timer->interval(), timer->isActive()),
                  std::tuple(QString::number(n), n, n * 1000, true));
        EXPECT_EQ(window->grid().dot(0, n - 1)->pixmap().toImage().pixelColor(10, 10), Qt::red);
        EXPECT_EQ(control<SequenceStrip>("Bande")->shown(), n);  // the strip follows
    }
    click("CBDéfiler");
    tick();
    EXPECT_FALSE(timer->isActive());
}

// A star in the trace is a lit dot.
TEST_F(WindowTest, KeysAndDragsDrawValidateAndStep) {
    QString trace;
    for (const Qt::Key pressed :
         {Qt::Key_Space, Qt::Key_End, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space, Qt::Key_Home,
          Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down,
          Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
        keys(pressed);
        auto* focused = qobject_cast<DotBox*>(QApplication::focusWidget());
        trace += focused ? focused->objectName() + (focused->lit() ? "* " : " ") : "? ";
    }
    EXPECT_EQ(trace, "A0* A4 A4 B4 B4* B0 B0 A0* A0* A0 B0 C0 D0 E0 F0 G0 G0 ");
    for (QWidget* reached : window->findChildren<QWidget*>()) {  // named for screen readers
        if (reached->isVisible() && (reached->focusPolicy() & Qt::TabFocus)) {
            const QAccessibleInterface* named = QAccessible::queryAccessibleInterface(reached);
            EXPECT_FALSE(named->text(QAccessible::Name).isEmpty())
                << reached->objectName().toStdString();
        }
    }
    keys(Qt::ALT | Qt::Key_F);
    EXPECT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
    keys(Qt::Key_Escape);
    for (const char* role : {"MaitreEsclave1", "MaitreEsclave0"}) {
        control<QRadioButton>(role)->click();
        control(role)->setFocus();
        keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down});
        EXPECT_TRUE(control<QRadioButton>(role)->isChecked()) << role;
    }
    duration()->setFocus();
    keys({Qt::Key_Return, Qt::Key_Enter});
    keys({Qt::Key_PageUp, Qt::Key_PageUp});
    EXPECT_EQ(std::tuple(number(), rows()[1]), std::tuple(QString("1"), 16));
    click("Command1");  // erases the drawing, stores nothing
    EXPECT_EQ(std::tuple(rows()[1], duration()->text()), std::tuple(0, QString("0")));
    keys({Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown});
    EXPECT_EQ(std::tuple(number(), seam.beeps), std::tuple(QString("3"), 1));
    control("RTB1")->setFocus();
    keys(Qt::Key_PageUp);
    EXPECT_EQ(number(), "3");
    // A drag gives every dot it crosses, however fast, the new state of the dot it started on.
    auto centre = [this](std::pair<int, int> dot) {
        DotBox* box = window->grid().dot(dot.first, dot.second);
        return box->mapTo(window.get(), box->rect().center());
    };
    auto drag = [&](std::initializer_list<std::pair<int, int>> dots) {
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, centre(dots.begin()[0]));
        for (const auto& dot : dots) {
            QTest::mouseMove(window->windowHandle(), centre(dot));
        }
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, centre(dots.end()[-1]));
        return rows();
    };
    window->MiseAJourCaractère("0;0;10;0;0;0;0;0.5");
    EXPECT_EQ(drag({{2, 1}, {2, 4}}), (std::array<int16_t, 7>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(drag({{0, 0}, {6, 0}, {6, 4}}), (std::array<int16_t, 7>{1, 1, 1, 1, 1, 1, 31}));
}

template <typename T>
static void whenUp(std::function<void(T*)> answer) {  // the next modal T
    QTimer::singleShot(0, [answer] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            answer(modal);
        }
    });
}

static void choose(QFileDialog* dialog, const char* name) {
    dialog->selectFile(name);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's, which asks before replacing
}

TEST(QtWindowSeamTest, DialogsAndBoxesAnswerAsThePupilDid) {
    QtWindowSeam seam;
    TempFolder folder;
    const QString in = QString::fromStdString(folder.path()) + "/";
    const FileDialogSettings settings{"Titre", "Séquence (*.car)|*.car", ".car", in};
    writeBytes(folder.file("a.car"), "x");
    whenUp<QFileDialog>([](QFileDialog* dialog) { choose(dialog, "a.car"); });
    EXPECT_EQ(seam.showOpen(nullptr, settings), in + "a.car");
    whenUp<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(seam.showOpen(nullptr, settings), "");
    whenUp<QFileDialog>([](QFileDialog* dialog) { choose(dialog, "neuve"); });
    EXPECT_EQ(seam.showSave(nullptr, settings), in + "neuve.car");
    for (const auto& [style, icon] : {std::pair{vbCritical | vbSystemModal, QMessageBox::Critical},
                                      {vbExclamation, QMessageBox::Warning}}) {
        QString shown;
        whenUp<QMessageBox>([&](QMessageBox* box) {
            shown =
                QStringLiteral("%1 %2 %3").arg(box->icon()).arg(box->windowTitle(), box->text());
            box->button(QMessageBox::Ok)->click();
        });
        seam.MsgBox(nullptr, "Texte", style, "Titre");
        EXPECT_EQ(shown, QStringLiteral("%1 Titre Texte").arg(icon));
    }
    bool stayed = false;  // a Return held since before the box opened leaves it open
    whenUp<QMessageBox>([&](QMessageBox* box) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &repeat);
        stayed = box->isVisible();
        box->button(QMessageBox::Ok)->click();
    });
    seam.MsgBox(nullptr, "Texte", vbExclamation, "Titre");
    EXPECT_TRUE(stayed);
    for (const auto& [button, answer] :
         {std::pair{"Enregistrer", QuitAnswer::Save},
          {"Quitter sans enregistrer", QuitAnswer::QuitWithoutSaving},
          {"Annuler", QuitAnswer::Cancel}}) {
        whenUp<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->text(), "Enregistrer la séquence avant de quitter ?");
            for (QAbstractButton* offered : box->buttons()) {
                if (offered->text() == button) {
                    offered->click();
                }
            }
        });
        EXPECT_EQ(seam.askSaveBeforeQuit(nullptr), answer) << button;
    }
    for (const auto& [typed, accepted] : {std::pair{"Oé !", true}, {"", false}}) {
        QString offered;
        whenUp<QInputDialog>([&](QInputDialog* dialog) {
            offered = dialog->textValue();
            dialog->setTextValue(typed);
            accepted ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(seam.askText(nullptr, "Titre", "Texte", "Déjà"),
                  accepted ? std::optional<QString>(typed) : std::nullopt);
        EXPECT_EQ(offered, "Déjà");
    }
    QString asked;  // asked last: unasked, the answer finds no box
    whenUp<QFileDialog>([&](QFileDialog* dialog) {
        whenUp<QMessageBox>([&](QMessageBox* box) {
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        choose(dialog, "a.car");
    });
    EXPECT_EQ(seam.showSave(nullptr, settings), in + "a.car");
    EXPECT_TRUE(asked.contains("a.car")) << asked.toStdString();
}
