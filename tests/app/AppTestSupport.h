#pragma once

#include <gtest/gtest.h>
#include <QString>
#include <QWidget>
#include <deque>
#include <memory>
#include <vector>

#include "TestFiles.h"
#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

// Answers the window's modal calls and records them.
class FakeSeam : public WindowSeam {
  public:
    struct Message {
        QString prompt;
        int style;
        QString title;
    };
    void showMessage(QWidget* parent, const QString& prompt, int style,
                     const QString& title) override;
    QString showOpen(QWidget* parent, const FileDialogSettings& settings) override;
    QString showSave(QWidget* parent, const FileDialogSettings& settings) override;
    void Beep() override { ++beeps; }

    std::vector<Message> messages;
    std::deque<QString> openAnswers;  // empty text answers as a cancelled dialog
    std::deque<QString> saveAnswers;
    std::vector<FileDialogSettings> dialogs;
    int beeps = 0;
};

// A window on its own copy of the program folder, with the controls at hand.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    void openWindow();

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name);
    void clickDot(int row, int index);
    void triggerMenu(const char* name);
    void setText(const char* name, const QString& text);
    QString text(const char* name) const;
    std::vector<int> rows() const;
    // Draws a record's rows on the grid by clicking, and types its duration.
    void draw(const std::vector<int>& rowValues, const QString& duration);
    // A file of the program folder, named as the window names it.
    QString file(const char* name) const { return QString::fromStdString(folder.file(name)); }
    std::string workingBytes() const { return readBytes(folder.file("MessageTemporaire.car")); }

    ProgramFolder folder;
    FakeSeam seam;
    std::unique_ptr<EditorWindow> window;
};
