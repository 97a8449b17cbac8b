#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <memory>
#include <vector>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"

using BenchClock = std::chrono::steady_clock;

// Milliseconds between two instants of the benchmark clock.
double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to);

// Answers every modal call at once, as a pupil who clicks OK without reading; counts the
// messages so a benchmark can check that its build really ran to the end.
class QuietSeam : public WindowSeam {
  public:
    void showMessage(QWidget* parent, const QString& prompt, int style,
                     const QString& title) override;
    QString showOpen(QWidget*, const FileDialogSettings&) override { return {}; }
    QString showSave(QWidget*, const FileDialogSettings&) override { return {}; }
    void Beep() override {}
    QuitAnswer askSaveBeforeQuit(QWidget*) override { return QuitAnswer::QuitWithoutSaving; }
    std::optional<QString> askText(QWidget*, const QString&, const QString&,
                                   const QString&) override {
        return std::nullopt;
    }

    int messages = 0;
    QString lastPrompt;
};

// A throw-away copy of the built program folder: the window reads its pictures and writes its
// working sequence file there. Aborts when the copy cannot be made.
class ProgramCopy {
  public:
    ProgramCopy();
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

// A stand-in build tool named make, first on PATH while this object lives. `make all` prints
// "Compilation <n>" every 0.1 s, `lines` times, then " Aucune erreur", or runs the shell
// commands `compile`; `make program` prints one line without an error word. Aborts when the
// script cannot be written.
class StandInMake {
  public:
    explicit StandInMake(int lines);
    explicit StandInMake(const QString& compile);
    ~StandInMake();
    StandInMake(const StandInMake&) = delete;
    StandInMake& operator=(const StandInMake&) = delete;

  private:
    QTemporaryDir dir_;
    QByteArray previousPath_;
};

// The window on a fresh program copy, shown, with its controls at hand by object name.
class BenchWindow {
  public:
    BenchWindow();
    ~BenchWindow();
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    EditorWindow& window() { return *window_; }
    QuietSeam& seam() { return seam_; }
    // The control of that object name; aborts when there is none.
    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        if (found == nullptr) {
            missingControl(name);
        }
        return found;
    }
    void click(const char* name);
    void setText(const char* name, const QString& text);
    // Stores `count` characters through the validation button, each with `duration`.
    void validateCharacters(int count, const QString& duration);

  private:
    [[noreturn]] static void missingControl(const char* name);

    ProgramCopy folder_;
    QuietSeam seam_;
    std::unique_ptr<EditorWindow> window_;
};

struct Spread {
    double median = 0;
    double worst = 0;  // the largest value
    double best = 0;   // the smallest value
};

// Median, largest and smallest of a non-empty list.
Spread spreadOf(std::vector<double> values);
