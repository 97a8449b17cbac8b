#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "AppTestSupport.h"
#include "app/DotBox.h"

namespace {

struct Dot {
    int row;
    int index;
};

// Keys and the pointer go through the window system, so they land where the focus and the
// pointer grab send them, as a pupil's do.
class KeyboardAndPointerTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    QPoint centre(Dot dot) const {
        DotBox* box = window->grid().dot(dot.row, dot.index);
        return box->mapTo(window.get(), box->rect().center());
    }
    // Presses on the first dot, moves straight to each next one in a single move, releases.
    void drag(const std::vector<Dot>& path) {
        QWindow* handle = window->windowHandle();
        QTest::mousePress(handle, Qt::LeftButton, {}, centre(path.front()));
        for (const Dot& dot : path) {
            QTest::mouseMove(handle, centre(dot));
        }
        QTest::mouseRelease(handle, Qt::LeftButton, {}, centre(path.back()));
    }
    static DotBox* focusedDot() { return qobject_cast<DotBox*>(QApplication::focusWidget()); }
};

TEST_F(KeyboardAndPointerTest, TheArrowsMoveTheFocusOverTheGridAndSpaceTogglesADot) {
    const struct {
        Qt::Key key;
        Dot focus;
        std::vector<int> rows;
    } steps[] = {
        {Qt::Key_Space, {0, 0}, {1, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_Right, {0, 1}, {1, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_Space, {0, 1}, {3, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_End, {0, 4}, {3, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_Right, {0, 4}, {3, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_Down, {1, 4}, {3, 0, 0, 0, 0, 0, 0}},
        {Qt::Key_Space, {1, 4}, {3, 16, 0, 0, 0, 0, 0}},
        {Qt::Key_Home, {1, 0}, {3, 16, 0, 0, 0, 0, 0}},
        {Qt::Key_Left, {1, 0}, {3, 16, 0, 0, 0, 0, 0}},
        {Qt::Key_Up, {0, 0}, {3, 16, 0, 0, 0, 0, 0}},
        {Qt::Key_Up, {0, 0}, {3, 16, 0, 0, 0, 0, 0}},
        {Qt::Key_Space, {0, 0}, {2, 16, 0, 0, 0, 0, 0}},
    };
    EXPECT_EQ(focusedDot(), window->grid().dot(0, 0));
    for (const auto& step : steps) {
        key(step.key);
        DotBox* focused = focusedDot();
        ASSERT_NE(focused, nullptr) << QKeySequence(step.key).toString().toStdString();
        EXPECT_EQ(focused->row(), step.focus.row);
        EXPECT_EQ(focused->Index(), step.focus.index);
        EXPECT_EQ(rows(), step.rows) << QKeySequence(step.key).toString().toStdString();
    }
    for (int i = 0; i < 7; ++i) {
        key(Qt::Key_Down);
    }
    EXPECT_EQ(focusedDot(), window->grid().dot(6, 0));
    EXPECT_TRUE(control<QRadioButton>("MaitreEsclave0")->isChecked());
}

TEST_F(KeyboardAndPointerTest, TheArrowsNeverChangeTheRole) {
    for (const char* role : {"MaitreEsclave0", "MaitreEsclave1"}) {
        control<QRadioButton>(role)->click();
        control(role)->setFocus();
        for (Qt::Key arrow : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
            key(arrow);
            EXPECT_TRUE(control<QRadioButton>(role)->isChecked()) << role;
        }
    }
}

TEST_F(KeyboardAndPointerTest, ReturnOrEnterInTheDurationValidatesWithTheTypedDuration) {
    key(Qt::Key_Space);
    control("TDurée")->setFocus();
    control<QLineEdit>("TDurée")->selectAll();
    QTest::keyClicks(control("TDurée"), "1,5");
    key(Qt::Key_Return);
    control<QLineEdit>("TDurée")->selectAll();
    QTest::keyClicks(control("TDurée"), "2");
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(workingBytes(),
              "[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=1;0;0;0;0;0;0;1.5\r\n"
              "Caract\xE8re2=0;0;0;0;0;0;0;2\r\n");
    EXPECT_EQ(text("LNumCaractère"), "3");
}

TEST_F(KeyboardAndPointerTest, PageKeysStepAndTheFileMenuHasItsUsualKeys) {
    key(Qt::Key_Space);
    click("CBCaracOk");
    key(Qt::Key_PageUp);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(rows(), std::vector<int>({1, 0, 0, 0, 0, 0, 0}));
    key(Qt::Key_PageDown);
    EXPECT_EQ(text("LNumCaractère"), "2");
    key(Qt::Key_PageDown);
    EXPECT_EQ(seam.beeps, 1);
    control("RTB1")->setFocus();  // the output box keeps the keys to scroll
    key(Qt::Key_PageUp);
    EXPECT_EQ(text("LNumCaractère"), "2");

    key(Qt::Key_S, Qt::ControlModifier);
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(seam.dialogs.size(), 2u);
    ASSERT_EQ(seam.messages.size(), 1u);  // only the cancelled Load complains
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_FALSE(QFile::exists(window->workingFile()));

    auto* menu = control<QMenu>("mnufichier");
    key(Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    key(Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
}

TEST_F(KeyboardAndPointerTest, SpaceOnThePreviewButtonStartsAndStopsThePreview) {
    control("CBDéfiler")->setFocus();
    key(Qt::Key_Space);
    EXPECT_TRUE(window->sequence().playing());
    key(Qt::Key_Space);
    EXPECT_FALSE(window->sequence().playing());
    EXPECT_EQ(rows(), std::vector<int>(7, 0));  // the key toggled no dot
}

TEST_F(KeyboardAndPointerTest, ADragGivesEveryCrossedDotTheFirstDotsNewState) {
    const struct {
        const char* record;
        std::vector<Dot> path;
        std::vector<int> rows;
    } cases[] = {
        {"0;0;0;0;0;0;0;0.5", {{2, 0}, {2, 4}}, {0, 0, 31, 0, 0, 0, 0}},
        {"0;0;31;0;0;0;0;0.5", {{2, 0}, {2, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        {"0;0;10;0;0;0;0;0.5", {{2, 1}, {2, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        {"0;0;10;0;0;0;0;0.5", {{2, 0}, {2, 4}, {2, 0}}, {0, 0, 31, 0, 0, 0, 0}},
        {"0;0;0;0;0;0;0;0.5", {{0, 0}, {6, 0}, {6, 4}}, {1, 1, 1, 1, 1, 1, 31}},
        {"0;0;0;0;0;0;0;0.5", {{3, 2}}, {0, 0, 0, 4, 0, 0, 0}},
        {"0;0;0;0;0;0;0;0.5", {{3, 2}, {3, 2}}, {0, 0, 0, 4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        window->MiseAJourCaractère(QString::fromUtf8(c.record));
        drag(c.path);
        EXPECT_EQ(rows(), c.rows) << c.record << " from " << c.path.front().row << ","
                                  << c.path.front().index;
    }
}

TEST_F(KeyboardAndPointerTest, EveryControlHasANameAndADescription) {
    for (QWidget* widget : control("client")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        const std::string name = widget->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << name;
        EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty()) << name;
        EXPECT_FALSE(widget->toolTip().isEmpty()) << name;
    }
    const std::pair<const char*, const char*> names[] = {
        {"CBDescendre", "Télécharger dans l'afficheur"},
        {"CBPrécédent", "Caractère précédent"},
        {"CBSuivant", "Caractère suivant"},
        {"TDurée", "Durée d'affichage en secondes"},
        {"CBCaracOk", "Valider ce caractère"},
        {"A0", "Ligne A, colonne 1"},
        {"G4", "Ligne G, colonne 5"},
    };
    for (const auto& [widget, name] : names) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control(widget))
                      ->text(QAccessible::Name)
                      .toStdString(),
                  name);
    }

    QAccessibleInterface* dot = QAccessible::queryAccessibleInterface(window->grid().dot(0, 0));
    EXPECT_EQ(dot->role(), QAccessible::CheckBox);
    EXPECT_EQ(dot->text(QAccessible::Description), "Point éteint");
    key(Qt::Key_Space);
    EXPECT_EQ(dot->text(QAccessible::Description), "Point allumé");
    EXPECT_TRUE(dot->state().checked);
    dot->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
}

}  // namespace
