#include "app/TerminationSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <optional>

#include "common/SessionEnd.h"

namespace {

std::optional<SessionEnd> sessionEnd;
bool sessionEnding = false;

}  // namespace

bool TerminationSignals::ending() {
    return sessionEnding;
}

TerminationSignals::TerminationSignals() {
    sessionEnd.emplace();
    if (sessionEnd->descriptor() < 0) {
        return;  // the program still runs, only without this clean-up
    }
    notifier_ = new QSocketNotifier(sessionEnd->descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
        sessionEnd->drain();
        sessionEnding = true;
        QApplication::closeAllWindows();
    });
}

TerminationSignals::~TerminationSignals() {
    sessionEnding = false;
    delete notifier_;  // before the descriptor it watches closes
    notifier_ = nullptr;
    sessionEnd.reset();
}
