#include "AppTestSupport.h"

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
    QPoint centre(std::pair<int, int> rowAndIndex) const {
        DotBox* dot = window->grid().dot(rowAndIndex.first, rowAndIndex.second);
        return dot->mapTo(window.get(), dot->rect().center());
    }
    DotBox* focused() const { return qobject_cast<DotBox*>(QApplication::focusWidget()); }
};

// The arrows, Home and End move the focus over the grid up to its edges, Space toggles the dot
// (a star in the trace); the arrows never change the module's role.
TEST_F(KeyboardAndPointerTest, KeysDrawOnTheGridAndLeaveTheRoleAlone) {
    QString trace;
    for (const Qt::Key pressed :
         {Qt::Key_Space, Qt::Key_End, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space, Qt::Key_Home,
          Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down,
          Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
        key(pressed);
        ASSERT_NE(focused(), nullptr) << trace.toStdString();
        trace += focused()->objectName() + (focused()->lit() ? "* " : " ");
    }
    EXPECT_EQ(trace, "A0* A4 A4 B4 B4* B0 B0 A0* A0* A0 B0 C0 D0 E0 F0 G0 G0 ");
    EXPECT_EQ(rows()[1], 16);
    for (const char* role : {"MaitreEsclave1", "MaitreEsclave0"}) {
        control<QRadioButton>(role)->click();
        control(role)->setFocus();
        for (Qt::Key arrow : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
            key(arrow);
        }
        EXPECT_TRUE(control<QRadioButton>(role)->isChecked()) << role;
    }
}

// Return or Enter in the duration validates; Page Up and Down step (not in the output box).
TEST_F(KeyboardAndPointerTest, KeysValidateAndStep) {
    key(Qt::Key_Space);
    duration()->setFocus();
    for (const auto& [typed, enter] : {std::pair{"1,5", Qt::Key_Return}, {"2", Qt::Key_Enter}}) {
        duration()->selectAll();
        QTest::keyClicks(duration(), typed);
        key(enter);
    }
    EXPECT_EQ(workingBytes(),
              "[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=1;0;0;0;0;0;0;1.5\r\n"
              "Caract\xE8re2=0;0;0;0;0;0;0;2\r\n");
    key(Qt::Key_PageUp);
    key(Qt::Key_PageUp);
    EXPECT_EQ(std::pair(number(), rows()[0]), std::pair(QString("1"), 1));
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_PageDown);
    }
    EXPECT_EQ(std::pair(number(), seam.beeps), std::pair(QString("3"), 1));
    control("RTB1")->setFocus();
    key(Qt::Key_PageUp);
    EXPECT_EQ(number(), "3");
}

// A drag gives every dot it crosses, however fast, the new state of the dot it started on.
TEST_F(KeyboardAndPointerTest, ADragPaintsWithTheFirstDotsNewState) {
    const struct {
        const char* record;
        std::vector<std::pair<int, int>> path;
        std::vector<int> rows;
    } cases[] = {
        {"0;0;0;0;0;0;0;0.5", {{2, 0}, {2, 4}}, {0, 0, 31, 0, 0, 0, 0}},
        {"0;0;31;0;0;0;0;0.5", {{2, 0}, {2, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        {"0;0;10;0;0;0;0;0.5", {{2, 1}, {2, 4}}, {0, 0, 0, 0, 0, 0, 0}},
        {"0;0;0;0;0;0;0;0.5", {{0, 0}, {6, 0}, {6, 4}}, {1, 1, 1, 1, 1, 1, 31}},
        {"0;0;0;0;0;0;0;0.5", {{3, 2}, {3, 2}}, {0, 0, 0, 4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        window->MiseAJourCaractère(QString::fromUtf8(c.record));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, centre(c.path.front()));
        for (const auto& dot : c.path) {
            QTest::mouseMove(window->windowHandle(), centre(dot));
        }
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, centre(c.path.back()));
        EXPECT_EQ(rows(), c.rows) << c.record << " from " << c.path.front().first;
    }
}
