// The editor's commands: held keys, the Edit menu, the strip and the close question,
// through the real window and real files.
#include "AppTestSupport.h"
#include "app/SequenceStrip.h"
#include "console/ChildProcess.h"

#include <filesystem>
#include <numeric>

namespace {

using Rows = std::vector<int>;

const std::string kSequenceFile =
    "[Caract\xE8res]\r\nNombre=1\r\nCaract\xE8re1=31;1;1;15;1;1;1;1.5\r\n";

class EditorTest : public WindowTest {
  protected:
    // A press, `repeats` presses the keyboard repeats while the key is held, then the release.
    void hold(Qt::Key key, int repeats, Qt::KeyboardModifiers modifiers = {}) {
        QWindow* handle = window->windowHandle();
        const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : QString();
        QTest::simulateEvent(handle, true, key, modifiers, text, false);
        for (int i = 0; i < repeats; ++i) {
            QTest::simulateEvent(handle, true, key, modifiers, text, true);
        }
        QTest::simulateEvent(handle, false, key, modifiers, text, false);
    }
    SequenceStrip* strip() const { return control<SequenceStrip>("Bande"); }
    // The top row of each stored character: enough to tell them apart here.
    Rows tops() const {
        Rows found;
        for (const std::string& record : window->sequence().records()) {
            found.push_back(std::stoi(record));
        }
        EXPECT_EQ(strip()->count(), static_cast<int>(found.size()));
        EXPECT_EQ(strip()->shown(), number().toInt());
        return found;
    }
    // Writes a sequence file whose characters have these top rows and loads it.
    void load(const Rows& topRows, const char* name = "Travail/s.car") {
        std::vector<std::string> records;
        for (const int top : topRows) {
            records.push_back(std::to_string(top) + ";0;0;0;0;0;0;0.5");
        }
        folder.writeSequence(std::to_string(records.size()), records);
        QFile::rename(window->workingFile(), file(name));
        seam.answers = {file(name)};
        menu("mnucharger");
    }
    QPoint onStrip(int number) const {
        return strip()->canvas()->mapTo(window.get(), strip()->thumbnailRect(number).center());
    }
};

// One press of Return validates once however long it is held; a clicked button leaves the focus
// on the grid, so Space lights the dot there; in the duration box the edit keys edit its text.
TEST_F(EditorTest, HeldKeysClickedButtonsAndTheKeysOfTheDurationBox) {
    duration()->setFocus();
    hold(Qt::Key_Return, 15);
    EXPECT_EQ(number(), "2");
    clickDot(0, 0);
    click("CBCaracOk");
    EXPECT_EQ(QApplication::focusWidget(), window->grid().dot(0, 0));
    keys(Qt::Key_Space);
    EXPECT_EQ(std::tuple(number(), rows()[0], tops()), std::tuple("3", 1, Rows{0, 1}));
    keys(Qt::Key_PageUp);
    hold(Qt::Key_Delete, 5);  // one character, not six
    EXPECT_EQ(tops(), Rows{0});
    keys(Qt::CTRL | Qt::Key_N);
    EXPECT_EQ(tops(), Rows{});
    keys({Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Z});
    EXPECT_EQ(std::tuple(tops(), number()), std::tuple(Rows{0, 1}, "2"));

    duration()->setFocus();
    duration()->selectAll();
    keys({Qt::Key_7, Qt::Key_Home, Qt::Key_Delete});
    EXPECT_EQ(duration()->text(), "");
    keys({Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Left});
    EXPECT_EQ(duration()->text(), "0.5");
    keys({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    EXPECT_EQ(std::tuple(duration()->text(), tops()), std::tuple("", Rows{0, 1}));
    EXPECT_EQ(seam.quitQuestions, 0);  // New and Load never ask
}

// A busy window may receive a repeat as a release and a press of the same instant, as X11 sends
// them: one validation still, and the next real press validates again.
TEST_F(EditorTest, ReturnRepeatedAsReleaseAndPressValidatesOnce) {
    duration()->setFocus();
    const auto send = [this](QEvent::Type type, ulong at) {
        QKeyEvent event(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        event.setTimestamp(at);
        QApplication::sendEvent(duration(), &event);
    };
    send(QEvent::KeyPress, 100);
    for (const ulong at : {300UL, 330UL, 360UL}) {
        send(QEvent::KeyRelease, at);
        send(QEvent::KeyPress, at);
    }
    send(QEvent::KeyRelease, 500);
    EXPECT_EQ(number(), "2");
    send(QEvent::KeyPress, 900);
    send(QEvent::KeyRelease, 1000);
    EXPECT_EQ(number(), "3");
}

// Each edit by its shortcut, from the grid, as the strip then shows the sequence.
TEST_F(EditorTest, TheEditMenuInsertsDeletesDuplicatesMovesAndUndoes) {
    load({1, 2, 3});
    const struct {
        QKeyCombination key;
        Rows tops;
        int shown;
    } flow[] = {
        {QKeyCombination(Qt::Key_Insert), {0, 1, 2, 3}, 1},
        {QKeyCombination(Qt::Key_PageDown), {0, 1, 2, 3}, 2},
        {Qt::CTRL | Qt::Key_D, {0, 1, 1, 2, 3}, 3},
        {QKeyCombination(Qt::Key_Delete), {0, 1, 2, 3}, 3},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Left, {0, 2, 1, 3}, 2},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Right, {0, 1, 2, 3}, 3},
        {Qt::CTRL | Qt::Key_Z, {0, 2, 1, 3}, 2},
        {Qt::CTRL | Qt::Key_Z, {0, 1, 2, 3}, 3},
        {Qt::CTRL | Qt::Key_Y, {0, 2, 1, 3}, 2},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, {0, 1, 2, 3}, 3},
    };
    for (const auto& step : flow) {
        keys(step.key);
        EXPECT_EQ(std::tuple(tops(), number().toInt()), std::tuple(step.tops, step.shown))
            << QKeySequence(step.key).toString().toStdString();
    }
    EXPECT_EQ(std::tuple(control<QAction>("mnuannuler")->isEnabled(),
                         control<QAction>("mnuretablir")->isEnabled()),
              std::tuple(true, false));  // nothing left to redo, greyed
    keys(Qt::ALT | Qt::Key_E);
    auto* opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_EQ(opened ? opened->objectName() : QString(), "mnuedition");
    keys(Qt::Key_Escape);

    duration()->setText("0,8");
    seam.answers = {"Oé"};
    keys(Qt::CTRL | Qt::Key_T);
    EXPECT_EQ(std::tuple(tops().size(), number()), std::tuple(size_t{6}, "5"));
    EXPECT_TRUE(window->sequence().records().back().ends_with(";0.8"));
    seam.answers = {"Ω"};  // no letter of the font: refused, nothing added, offered again
    seam.offered.clear();
    keys(Qt::CTRL | Qt::Key_T);
    EXPECT_TRUE(told().startsWith("Attention (48) Le texte n'a pas été écrit"));
    EXPECT_EQ(tops().size(), size_t{6});
    EXPECT_EQ(seam.offered, QStringList({"", "Ω"}));
    seam.answers = {file("Travail/séquence.png")};
    keys(Qt::CTRL | Qt::Key_E);
    const QImage exported(file("Travail/séquence.png"), "PNG");
    EXPECT_EQ(exported.size(), QSize(16 + 6 * 64, 16 + 96));
    EXPECT_EQ(exported.pixelColor(8 + 64 + 32 - 19 + 2, 8 + 18 + 2), QColor(255, 0, 0));
    seam.answers = {file("absent/séquence.png")};
    keys(Qt::CTRL | Qt::Key_E);
    EXPECT_TRUE(told().contains(file("absent/séquence.png") + " » : le fichier"));
}

// A click shows a character, a drag moves one, a long sequence scrolls to the shown one; the
// thumbnails show the dots, and the characters beyond the module on pink.
TEST_F(EditorTest, TheStripShowsMovesAndScrolls) {
    load({1, 2, 3, 4});
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, onStrip(3));
    EXPECT_EQ(std::tuple(number(), rows()[0]), std::tuple("3", 3));
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, onStrip(1));
    for (const int over : {1, 2, 3}) {
        QTest::mouseMove(window->windowHandle(), onStrip(over) + QPoint(over == 3 ? 10 : 0, 0));
    }
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, onStrip(3) + QPoint(10, 0));
    EXPECT_EQ(std::tuple(tops(), number()), std::tuple(Rows{2, 3, 1, 4}, "3"));
    EXPECT_EQ(QApplication::focusWidget(), window->grid().dot(0, 0));  // still drawing

    Rows many(40);
    std::iota(many.begin(), many.end(), 1);
    load(many, "Travail/long.car");
    EXPECT_EQ(strip()->horizontalScrollBar()->value(), 0);
    for (int n = 1; n < 30; ++n) {
        keys(Qt::Key_PageDown);
    }
    EXPECT_EQ(tops().size(), size_t{40});
    EXPECT_GT(strip()->horizontalScrollBar()->value(), 0);
    const QImage drawn = strip()->canvas()->grab().toImage();
    auto at = [&](int number, QPoint offset) {
        return drawn.pixelColor(strip()->thumbnailRect(number).topLeft() + offset);
    };
    EXPECT_EQ(at(30, {2, 2}), QColor(150, 150, 150));  // 30 lights columns 1 to 4
    EXPECT_EQ(at(30, {2 + 4, 2}), QColor(255, 0, 0));
    EXPECT_EQ(at(29, {-2, 0}), QColor(255, 220, 220));
    EXPECT_NE(at(28, {-2, 0}), QColor(255, 220, 220));
}

// Closing with changes not saved asks first; each answer does what it says.
TEST_F(EditorTest, ClosingAsksToSaveChangesNotSaved) {
    const struct {
        QuitAnswer answer;
        const char* saveAs;  // nullptr: the save dialog is cancelled
        bool closed;
        bool saved;
    } cases[] = {
        {QuitAnswer::Cancel, "Travail/gardée.car", false, false},
        {QuitAnswer::Save, nullptr, false, false},
        {QuitAnswer::Save, "Travail/gardée.car", true, true},
        {QuitAnswer::QuitWithoutSaving, "Travail/gardée.car", true, false},
    };
    for (const auto& answered : cases) {
        window.reset();
        openWindow();
        EXPECT_TRUE(window->close());  // nothing to lose: no question
        EXPECT_EQ(std::exchange(seam.quitQuestions, 0), 0);
        window.reset();
        openWindow();
        click("CBCaracOk");
        QFile::remove(file("Travail/gardée.car"));
        seam.quitAnswer = answered.answer;
        seam.answers.clear();
        if (answered.saveAs != nullptr) {
            seam.answers << file(answered.saveAs);
        }
        EXPECT_EQ(window->close(), answered.closed);
        EXPECT_EQ(std::exchange(seam.quitQuestions, 0), 1);
        EXPECT_EQ(exists(folder.file("Travail/gardée.car")), answered.saved);
        if (answered.saved) {
            EXPECT_EQ(readBytes(folder.file("Travail/gardée.car")),
                      readBytes(window->workingFile().toStdString()));
        }
    }
}

// A duration the module cannot wait is refused; nothing is stored and the drawing stays.
TEST_F(EditorTest, ADurationTheModuleCannotWaitIsRefused) {
    clickDot(3, 2);
    duration()->setText("9999");
    click("CBCaracOk");
    EXPECT_TRUE(told().startsWith("Attention (48) ")) << seam.boxes.join("").toStdString();
    EXPECT_EQ(std::tuple(number(), rows()[3], duration()->text(), tops()),
              std::tuple("1", 4, "9999", Rows{}));
}

// An edit that cannot be written is told and changes nothing, strip included.
TEST_F(EditorTest, AnEditThatCannotBeWrittenIsTold) {
    load({1, 2});
    const QString program = QString::fromStdString(folder.path());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(program).isWritable()) {
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user writes in a read-only folder";
    }
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Insert), Qt::CTRL | Qt::Key_D,
                                      QKeyCombination(Qt::Key_Delete), Qt::CTRL | Qt::Key_N}) {
        keys(key);
        EXPECT_TRUE(told().startsWith("Attention (48) "))
            << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(std::tuple(tops(), number()), std::tuple(Rows{1, 2}, "1"));
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A file named in bytes that are not UTF-8 opens from the command line.
TEST_F(EditorTest, AFileNamedInOtherBytesOpensFromTheCommandLine) {
    window.reset();
    std::filesystem::copy_file(VEXLO_PROGRAM_DIR "/Vexlo", folder.file("Vexlo"));
    const std::string name = "\xE9t\xE9.car";  // "été" in Windows-1252
    writeBytes(folder.file("Travail/" + name), kSequenceFile);
    ChildProcess program;
    ASSERT_EQ(program.start("\"" + folder.file("Vexlo") + "\" \"" + name + "\"",
                            folder.file("Travail"), true),
              0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readBytes(folder.file("MessageTemporaire.car")) == kSequenceFile; }, 10000));
    program.kill();
}

}  // namespace
