#include "AppTestSupport.h"

namespace {

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

// The arrows, Home and End move the focus over the grid up to its edges, Space toggles the dot;
// the arrows never change the module's role.
TEST_F(KeyboardAndPointerTest, KeysDrawOnTheGridAndLeaveTheRoleAlone) {
    const struct {
        Qt::Key key;
        int row, index, rowA, rowB;
    } steps[] = {
        {Qt::Key_Space, 0, 0, 1, 0},  {Qt::Key_End, 0, 4, 1, 0},    {Qt::Key_Right, 0, 4, 1, 0},
        {Qt::Key_Down, 1, 4, 1, 0},   {Qt::Key_Space, 1, 4, 1, 16}, {Qt::Key_Home, 1, 0, 1, 16},
        {Qt::Key_Left, 1, 0, 1, 16},  {Qt::Key_Up, 0, 0, 1, 16},    {Qt::Key_Up, 0, 0, 1, 16},
        {Qt::Key_Space, 0, 0, 0, 16},
    };
    for (const auto& s : steps) {
        key(s.key);
        ASSERT_NE(focused(), nullptr);
        EXPECT_EQ(std::tuple(focused()->row(), focused()->Index(), rows()[0], rows()[1]),
                  std::tuple(s.row, s.index, s.rowA, s.rowB))
            << QKeySequence(s.key).toString().toStdString();
    }
    for (int i = 0; i < 7; ++i) {
        key(Qt::Key_Down);
    }
    EXPECT_EQ(focused(), window->grid().dot(6, 0));
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

}  // namespace
