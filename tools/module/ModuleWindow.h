#pragma once

#include <QWidget>
#include <vector>

class QLabel;
class QRadioButton;
class MatrixView;
class VirtualModule;

// The virtual module on screen: each module of the chain with its dots, what it is doing and
// the USB cable's place, which the pupil moves by a click. Follows the modules about 50 times a
// second.
class ModuleWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ModuleWindow(VirtualModule& modules, QWidget* parent = nullptr);

  private:
    void refresh();

    VirtualModule& modules_;
    std::vector<MatrixView*> matrices_;
    std::vector<QLabel*> states_;
    std::vector<QRadioButton*> cables_;
};
