#include "ModuleWindow.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "MatrixView.h"
#include "VirtualModule.h"

namespace {

QString stateText(LiveChain::State state) {
    switch (state) {
        case LiveChain::State::Blank:
            return QStringLiteral("Sans programme");
        case LiveChain::State::Programming:
            return QStringLiteral("Programmation…");
        case LiveChain::State::Running:
            return QStringLiteral("En marche");
        case LiveChain::State::Stopped:
            return QStringLiteral("Programme arrêté");
    }
    return {};
}

}  // namespace

ModuleWindow::ModuleWindow(VirtualModule& modules, QWidget* parent)
    : QWidget(parent), modules_(modules) {
    setWindowTitle(QStringLiteral("Afficheur virtuel"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    auto* cableGroup = new QButtonGroup(this);
    for (int module = 0; module < modules.chain().size(); ++module) {
        auto* box = new QGroupBox(QStringLiteral("Module %1").arg(module + 1));
        auto* boxLayout = new QVBoxLayout(box);
        matrices_.push_back(new MatrixView);
        states_.push_back(new QLabel);
        cables_.push_back(new QRadioButton(QStringLiteral("Câble USB")));
        boxLayout->addWidget(matrices_.back(), 0, Qt::AlignHCenter);
        boxLayout->addWidget(states_.back(), 0, Qt::AlignHCenter);
        boxLayout->addWidget(cables_.back(), 0, Qt::AlignHCenter);
        cableGroup->addButton(cables_.back(), module);
        row->addWidget(box);
    }
    cables_[static_cast<std::size_t>(modules.cable())]->setChecked(true);
    connect(cableGroup, &QButtonGroup::idClicked, this,
            [this](int module) { modules_.plugCable(module); });
    layout->addLayout(row);
    auto* hint = new QLabel(QStringLiteral("« make program » programme le module où est branché "
                                           "le câble USB.\nPort pour avrdude -c stk500v1 : %1")
                                .arg(QString::fromStdString(modules.port())));
    layout->addWidget(hint);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ModuleWindow::refresh);
    timer->start(20);
    refresh();
}

void ModuleWindow::refresh() {
    const std::vector<LiveChain::View> views = modules_.chain().view();
    for (std::size_t module = 0; module < views.size(); ++module) {
        matrices_[module]->show(views[module].shown);
        states_[module]->setText(stateText(views[module].state));
    }
}
