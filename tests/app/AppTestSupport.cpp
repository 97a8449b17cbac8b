#include "AppTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
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

// Only what the build lays out: a program folder that has been used holds files the
// program made (working sequence, generated source, build output) that tests must not inherit.
ProgramFolder::ProgramFolder() {
    const QDir source(QStringLiteral(VEXLO_PROGRAM_DIR));
    const QDir target(dir_.path());
    target.mkpath(QStringLiteral("Travail"));
    target.mkpath(QStringLiteral("modèle"));
    for (const QString& name : source.entryList({"*.gif", "Makefile"}, QDir::Files)) {
        QFile::copy(source.filePath(name), target.filePath(name));
    }
    const QDir templates(source.filePath(QStringLiteral("modèle")));
    for (const QString& name : templates.entryList({"*.mod"}, QDir::Files)) {
        QFile::copy(templates.filePath(name), target.filePath(QStringLiteral("modèle/") + name));
    }
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

void WindowTest::SetUp() {
    openWindow();
}

void WindowTest::openWindow() {
    window = std::make_unique<EditorWindow>(folder.path(), seam);
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
