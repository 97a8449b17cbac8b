#include "AppTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/DotBox.h"

void FakeSeam::showMessage(QWidget*, const QString& prompt, int style, const QString& title) {
    messages.push_back({prompt, style, title});
}

namespace {

QString next(std::deque<QString>& answers) {
    if (answers.empty()) {
        return {};
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

QString FakeSeam::showOpen(QWidget*, const FileDialogSettings& settings) {
    dialogs.push_back(settings);
    return next(openAnswers);
}

QString FakeSeam::showSave(QWidget*, const FileDialogSettings& settings) {
    dialogs.push_back(settings);
    return next(saveAnswers);
}

void WindowTest::SetUp() {
    openWindow();
}

void WindowTest::openWindow() {
    window = std::make_unique<EditorWindow>(QString::fromStdString(folder.path()), seam);
    window->show();
}

void WindowTest::TearDown() {
    if (window) {
        window->close();
        window.reset();
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

void WindowTest::click(const char* name) {
    QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
}

void WindowTest::clickDot(int row, int index) {
    QTest::mouseClick(window->grid().dot(row, index), Qt::LeftButton);
}

void WindowTest::triggerMenu(const char* name) {
    control<QAction>(name)->trigger();
}

void WindowTest::setText(const char* name, const QString& value) {
    control<QLineEdit>(name)->setText(value);
}

QString WindowTest::text(const char* name) const {
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromUtf8(name))) {
        return edit->text();
    }
    return control<QLabel>(name)->text();
}

std::vector<int> WindowTest::rows() const {
    const auto& values = window->grid().rowValues();
    return std::vector<int>(values.begin(), values.end());
}

void WindowTest::draw(const std::vector<int>& rowValues, const QString& duration) {
    for (int row = 0; row < kRowCount; ++row) {
        for (int index = 0; index < kColumnCount; ++index) {
            const bool wanted = (rowValues[static_cast<size_t>(row)] >> index) & 1;
            const bool lit = window->grid().dot(row, index)->Tag == QStringLiteral("1");
            if (wanted != lit) {
                clickDot(row, index);
            }
        }
    }
    setText("TDurée", duration);
}
