#pragma once

#include <gtest/gtest.h>
#include <QTest>
#include <QtWidgets>
#include <functional>
#include <memory>

#include "TestFiles.h"
#include "app/DotBox.h"
#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

struct ScopedEnv {  // sets an environment variable until the end of the scope
    ScopedEnv(const char* n, const QByteArray& v) : name(n), saved(qgetenv(n)) { qputenv(n, v); }
    ~ScopedEnv() { qputenv(name, saved); }
    const char* name;
    QByteArray saved;
};

// Calls `step` at each turn of the event loop until it returns true; `owner` bounds the calls.
inline void poll(QObject* owner, std::function<bool()> step) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (step()) {
            timer->stop();
        }
    });
    timer->start(0);
}

// Keeps boxes as "title (style) prompt"; dialogs and the text question take `answers` in turn
// (none left: cancelled); the question before quitting gets `quitAnswer`.
struct FakeSeam : WindowSeam {
    void showMessage(QWidget*, const QString& prompt, int style, const QString& title) override {
        boxes << QStringLiteral("%1 (%2) %3").arg(title).arg(style).arg(prompt);
    }
    QString showOpen(QWidget* p, const FileDialogSettings& s) override { return showSave(p, s); }
    QString showSave(QWidget*, const FileDialogSettings& settings) override {
        dialogFolder = settings.InitDir;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void Beep() override { ++beeps; }
    QuitAnswer askSaveBeforeQuit(QWidget*) override {
        ++quitQuestions;
        return quitAnswer;
    }
    std::optional<QString> askText(QWidget*, const QString&, const QString&,
                                   const QString& text) override {
        offered.append(text);
        return answers.isEmpty() ? std::nullopt : std::optional(answers.takeFirst());
    }
    QuitAnswer quitAnswer = QuitAnswer::Cancel;
    int quitQuestions = 0;
    QStringList boxes, answers;
    QStringList offered;  // the texts askText offered to edit
    QString dialogFolder;
    int beeps = 0;
};

// A window on its own copy of the program folder, and a stand-in "make" first on PATH that runs
// the shell lines left in all.sh or program.sh.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        writeBytes(tools.file("make"), "#!/bin/sh\n. '" + tools.path() + "'/$1.sh\n");
        QFile::setPermissions(QString::fromStdString(tools.file("make")),
                              QFile::ExeOwner | QFile::ReadOwner);
        openWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void openWindow() {
        window = std::make_unique<EditorWindow>(QString::fromStdString(folder.path()), seam);
        window->show();
    }
    void download(const std::string& all, const std::string& program = "") {
        writeBytes(tools.file("all.sh"), all);
        writeBytes(tools.file("program.sh"), program);
        click("CBDescendre");
    }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void clickDot(int r, int i) { QTest::mouseClick(window->grid().dot(r, i), Qt::LeftButton); }
    void keys(const QKeySequence& keys) { QTest::keySequence(window->windowHandle(), keys); }
    void menu(const char* name) { control<QAction>(name)->trigger(); }
    QString number() const { return control<QLabel>("LNumCaractère")->text(); }
    QLineEdit* duration() const { return control<QLineEdit>("TDurée"); }
    QString output() const { return control<QPlainTextEdit>("RTB1")->toPlainText(); }
    auto rows() const { return window->grid().rowValues(); }
    QString told() {  // the one box shown since the last look
        const QStringList boxes = std::exchange(seam.boxes, {});
        EXPECT_EQ(boxes.size(), 1) << boxes.join(" / ").toStdString();
        return boxes.join(" / ");
    }
    QString file(const char* name) const { return QString::fromStdString(folder.file(name)); }

    ProgramFolder folder;
    FakeSeam seam;
    TempFolder tools;
    ScopedEnv path{"PATH", QByteArray::fromStdString(tools.path()) + ":" + qgetenv("PATH")};
    std::unique_ptr<EditorWindow> window;
};
