#pragma once

#include <QCoreApplication>
#include <QTimer>

#include "app/EditorWindow.h"
#include "download/DownloadRun.h"

// Hands what a download reports to the window's handlers, and lets the window handle its own
// events while a command runs.
class MyDosEvents : public DownloadEvents {
  public:
    explicit MyDosEvents(EditorWindow& window) : window_(window) {}

    void stageChanged(const std::string& stage) override {
        window_.showStage(QString::fromStdString(stage));
    }
    void outputCleared() override { window_.clearOutput(); }
    void outputArrived(std::string_view chunk) override { window_.MyDos_ReceiveOutputs(chunk); }
    void DoEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    // Sleeps in the window's own loop, so a click wakes it at once; the timer bounds the sleep.
    // Nothing of this object is used once the events have run: they may close the window.
    bool WaitForEvents(int timeoutMs) override {
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(timeoutMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return true;
    }

  private:
    EditorWindow& window_;
};
