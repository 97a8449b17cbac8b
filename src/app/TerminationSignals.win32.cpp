#include <QApplication>

#include "app/TerminationSignals.h"

namespace {

bool sessionEnding = false;

}  // namespace

bool TerminationSignals::ending() {
    return sessionEnding;
}

// Windows ends a session by sending WM_ENDSESSION (logoff and shutdown alike), which Qt turns
// into aboutToQuit, and kills the program once the message is handled: the windows close there,
// while the program still runs.
TerminationSignals::TerminationSignals() {
    connect(qApp, &QCoreApplication::aboutToQuit, this, [] {
        sessionEnding = true;
        QApplication::closeAllWindows();
    });
}

TerminationSignals::~TerminationSignals() = default;
