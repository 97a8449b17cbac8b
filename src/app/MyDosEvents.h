#pragma once

#include <QCoreApplication>

#include "app/EditorWindow.h"
#include "console/DOSClass.h"

// Hands the events of the window's command runner to the window's handlers, and lets the
// window process its pending events while a command runs.
class MyDosEvents : public DOSClassEvents {
  public:
    explicit MyDosEvents(EditorWindow& window) : window_(window) {}

    void ReceiveOutputs(std::string& strCommandOutputs) override {
        window_.MyDos_ReceiveOutputs(strCommandOutputs);
    }
    void ReceiveErrors(std::string& strCommandErrors) override {
        window_.MyDos_ReceiveErrors(strCommandErrors);
    }
    void DoEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

  private:
    EditorWindow& window_;
};
